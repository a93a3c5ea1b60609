// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Keeping a data file that the program could not read out of the way of the next save, so that
// the user's own file (a palette saved by another program, say) is never replaced by defaults.
//
// The file is renamed beside itself under a dated name, "deflpal.lpal.unreadable-2026-12-08";
// when that name is taken, a counter follows: ".unreadable-2026-12-08.1", ".2" and so on. An
// existing name is never replaced. A symbolic link is moved as a link: the file it leads to is
// not touched. Anything that is not a regular file (a folder, device, FIFO, or a link leading
// nowhere) is left where it is; saves refuse to replace those anyway.
#include <chrono>
#include <string>

namespace vork {

struct KeptAside {
    enum class Outcome {
        NothingThere,   // no file at the path
        NotRegularFile, // left in place
        KeptAside,      // renamed to keptAs
        Failed,         // still in place, see reason: the caller must not save over it
    };
    Outcome outcome = Outcome::NothingThere;
    std::string keptAs;
    std::string reason;
};

// Call when reading the file at `path` failed. Dates the name with the local date.
KeptAside keepUnreadableAside(const std::string& path);
KeptAside keepUnreadableAside(const std::string& path, std::chrono::year_month_day today);

// The same with another word in the name, "<path>.<label>-2026-12-08", for files kept aside
// for another reason than being unreadable.
KeptAside keepAside(const std::string& path, const std::string& label);
KeptAside keepAside(const std::string& path, const std::string& label,
                    std::chrono::year_month_day today);

// The same for an entry of one of the program's own folders, whatever it is: a link, a folder,
// a FIFO or a device named like a file of the folder is renamed as it is, never followed. The
// dated name is made from `name`, the entry's own path unless given.
KeptAside keepEntryAside(const std::string& path, const std::string& label,
                         const std::string& name = {});

// A line for standard error saying what was done; empty when there was nothing to keep.
std::string describeKeptAside(const std::string& path, const KeptAside& kept);

} // namespace vork
