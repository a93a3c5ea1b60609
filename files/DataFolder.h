#pragma once
// The folder the program reads its resources from and writes its settings and default
// palettes to. It is given at start ("data" under the working folder unless told otherwise),
// so nothing else in the program spells out a data path.
#include <string>

namespace vork {

struct DataFolder {
    std::string root = "data";

    std::string file(const std::string& name) const { return root + "/" + name; }
    std::string toolSheet() const { return file("instrument.png"); }
    std::string settings() const { return file("property.txt"); }
    std::string bigPalette() const { return file("defbpal.bpal"); }
    std::string smallPalette() const { return file("deflpal.lpal"); }
};

} // namespace vork
