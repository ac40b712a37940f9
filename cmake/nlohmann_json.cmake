# nlohmann-json, header-only: the target's own CMake package where one is installed
# (for example by vcpkg), else the folder holding the library's headers, put alone on
# the include path through a folder in the build tree: a cross build must never see
# the host's /usr/include, whose headers would shadow the target's.
find_package(nlohmann_json 3.11 CONFIG QUIET)
if(NOT nlohmann_json_FOUND)
    set(NLOHMANN_JSON_HEADERS /usr/include/nlohmann CACHE PATH "nlohmann-json's header folder")
    set(folder ${CMAKE_BINARY_DIR}/libraries/nlohmann_json)
    file(MAKE_DIRECTORY ${folder})
    file(CREATE_LINK ${NLOHMANN_JSON_HEADERS} ${folder}/nlohmann SYMBOLIC)
    add_library(nlohmann_json INTERFACE)
    target_include_directories(nlohmann_json SYSTEM INTERFACE ${folder})
    add_library(nlohmann_json::nlohmann_json ALIAS nlohmann_json)
endif()
