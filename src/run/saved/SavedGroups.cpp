#include "SavedGroups.h"

#include "Files.h"
#include "Group.h"
#include "Paths.h"
#include "Pictures.h"
#include "Png.h"
#include "Saved.h"
#include "Suites.h"
#include "Summary.h"

#include <cstdio>

// The files a pattern names: at least one, none of them an output.
static bool Files(const std::string &option, const std::string &pattern, const Outputs &outputs,
                  std::vector<std::string> &files, std::string &error) {
    files = Expand(pattern);
    if (files.empty()) {
        error = option + " '" + pattern + "' names no file";
        return false;
    }
    for (const std::string &file : files) {
        for (const auto &[output, path] : outputs) {
            if (SameFile(file, path)) {
                error = option + " '" + pattern + "' names '" + file + "', which is this " +
                        "command's " + output + " file";
                return false;
            }
        }
    }
    return true;
}

// Reads each file as a saved run and adds it to the group; first is the file the
// group's setting came from, named when a later file's setting differs.
static bool AddFiles(const std::string &option, const std::vector<std::string> &files,
                     Report &group, std::string &first, std::string &error) {
    size_t met = 0, kept = RunNumbers(group).size();
    for (const std::string &file : files) {
        std::string text;
        Report run;
        if (!ReadWhole(option, file, text, error)) {
            return false;
        }
        if (!ReadRun(text, run, error)) {
            error = option + " file '" + file + "' is not a saved run: " + error;
            return false;
        }
        first = first.empty() ? file : first;
        // Its pictures' folder is named from its own.
        run.Set.Pictures = Beside(file, run.Set.Pictures);
        run.RunFiles.assign(RunNumbers(run).size(), file);
        if (const std::string differences = SettingDifferences(run.Set, group.Set);
            !group.Tests.empty() && !differences.empty()) {
            error = option + ": a group holds runs of one setting; '" + file + "' differs from '" +
                    first + "' in " + differences;
            return false;
        }
        if (!AddToGroup(group, run, error)) {
            error = option + ": " + error;
            return false;
        }
        met += RunNumbers(run).size();
    }
    if (const size_t again = kept + met - RunNumbers(group).size(); again > 0) {
        std::fprintf(stderr,
                     "QuenzelRun: %s: %zu run(s) met again (the same run through another file, "
                     "pattern or merged group) counted once\n",
                     option.c_str(), again);
    }
    return true;
}

bool ReadCompareGroup(const std::string &pattern, const Outputs &outputs, OldRun &group,
                      std::string &error) {
    std::vector<std::string> files;
    Report runs;
    std::string first;
    if (!Files("--compare", pattern, outputs, files, error) ||
        !AddFiles("--compare", files, runs, first, error)) {
        return false;
    }
    Summarise(runs);
    group = AsOld(runs, files.size() == 1 ? files[0] : pattern);
    return true;
}

bool ReadFromGroup(const std::vector<std::string> &patterns, const Outputs &outputs, Report &group,
                   std::string &error) {
    std::string first;
    for (const std::string &pattern : patterns) {
        std::vector<std::string> files;
        if (!Files("--from", pattern, outputs, files, error) ||
            !AddFiles("--from", files, group, first, error)) {
            return false;
        }
    }
    return true;
}

// A test's picture in a folder of pictures, read back.
static bool ReadPicture(const std::string &folder, const std::string &test, Pixels &pixels) {
    std::string png, error;
    return !folder.empty() &&
           ReadWhole("--pictures", InFolder(folder, PictureFile(test)), png, error) &&
           ReadPng(png, pixels);
}

bool ShowDifferences(const Report &report, const std::vector<OldRun> &olds, Compared &compared,
                     const std::string &folder, std::vector<std::string> &notes,
                     std::string &error) {
    for (size_t k = 0; k < compared.size(); k++) {
        std::vector<std::string> missing;
        for (ComparisonRow &row : compared[k]) {
            const std::string &name = row.Now.Name;
            Pixels now, before;
            PictureDifference difference;
            if (!row.OtherPicture) {
                continue;
            }
            if (!ReadPicture(report.Set.Pictures, name, now) ||
                !ReadPicture(olds[k].Set.Pictures, name, before) ||
                !Differ(now, before, difference)) {
                missing.push_back(name);
                continue;
            }
            row.Difference = difference;
            const std::string suffix = k == 0 ? "-diff" : "-diff-" + std::to_string(k + 1);
            if (!folder.empty() && !WriteAtomically(InFolder(folder, PictureFile(name, suffix)),
                                                    PngOf(DifferenceImage(now, before)), error)) {
                return false;
            }
        }
        const std::string why = report.Set.Pictures.empty()
                                    ? "this run saved none (--pictures DIR writes them)"
                                : olds[k].Set.Pictures.empty()
                                    ? "'" + olds[k].Name + "' saved none"
                                    : "their files are missing, unreadable or of other sizes";
        if (!missing.empty()) {
            notes.push_back("the pictures of " + Shortened(report, missing) + " against old " +
                            std::to_string(k + 1) + " cannot be shown: " + why);
        }
    }
    return true;
}
