# A header-only library: the target's own CMake package where one is installed (for
# example by vcpkg on Windows), else the host's header folder of that library put alone
# on the include path through a folder in the build tree: a cross build must never see
# the host's whole /usr/include, whose headers would shadow the target's.
function(header_library package version folder target)
    find_package(${package} ${version} CONFIG QUIET)
    if(NOT ${package}_FOUND)
        find_path(${package}_HEADERS ${folder} PATHS /usr/include NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH
                  REQUIRED)
        set(place ${CMAKE_BINARY_DIR}/libraries/${package})
        file(MAKE_DIRECTORY ${place})
        file(CREATE_LINK ${${package}_HEADERS}/${folder} ${place}/${folder} SYMBOLIC)
        add_library(${target} INTERFACE IMPORTED)
        target_include_directories(${target} SYSTEM INTERFACE ${place})
    endif()
endfunction()
