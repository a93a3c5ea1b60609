// SPDX-License-Identifier: GPL-3.0-or-later
// Draws the program's own artwork: the 175 x 175 sheet of button faces and the window icons.
//
//   make_artwork <sheet.png> <icon folder> [<desktop icon folder>]
// The desktop icon folder, when given, gets the icon at the sizes desktops look for, each a
// whole-number enlargement of the 16-pixel drawing, so every pixel stays a sharp square.
//
// Every face is a small piece of pixel art written out below as rows of letters, one letter per
// pixel (the colour key is `colourOf`). A face is centred in the part of its sheet cell that
// actually shows on its button: the buttons are smaller than the cells (a 24 x 24 face sits on a
// 20 x 18 or 20 x 14 button, drawn centred and unclipped), so each face records that visible box.
// Only QImage pixel writes are used, no painter and no anti-aliasing, so the output is the same
// bytes on every run and needs no display.
#include <QImage>
#include <QString>

#include <cstdio>
#include <string>
#include <vector>

namespace {

using Art = std::vector<std::string>;

// The colour key. '.' is transparent, so the button's own background and bevel show through.
// '*' is a marching-ants dash: dark and white in turns of two pixels.
bool colourOf(char c, int x, int y, QRgb& out) {
    switch (c) {
    case '.':
        return false;
    case 'k':
        out = qRgb(34, 32, 42);
        return true; // outline
    case 'w':
        out = qRgb(255, 255, 255);
        return true; // white
    case 'l':
        out = qRgb(206, 208, 216);
        return true; // light grey
    case 'm':
        out = qRgb(150, 152, 164);
        return true; // mid grey
    case 'd':
        out = qRgb(92, 92, 104);
        return true; // dark grey
    case 'r':
        out = qRgb(222, 58, 46);
        return true; // red
    case 'R':
        out = qRgb(146, 30, 30);
        return true; // dark red
    case 'o':
        out = qRgb(244, 144, 40);
        return true; // orange
    case 'y':
        out = qRgb(252, 214, 76);
        return true; // yellow
    case 'Y':
        out = qRgb(204, 150, 38);
        return true; // ochre
    case 'n':
        out = qRgb(70, 182, 78);
        return true; // green
    case 'N':
        out = qRgb(30, 118, 52);
        return true; // dark green
    case 'b':
        out = qRgb(58, 112, 218);
        return true; // blue
    case 'B':
        out = qRgb(152, 200, 250);
        return true; // light blue
    case 't':
        out = qRgb(238, 200, 146);
        return true; // wood
    case 'T':
        out = qRgb(160, 104, 56);
        return true; // brown
    case 'p':
        out = qRgb(244, 150, 172);
        return true; // pink
    case '*':
        out = ((x + y) / 2) % 2 == 0 ? qRgb(34, 32, 42) : qRgb(255, 255, 255);
        return true;
    default:
        return false;
    }
}

Art transposed(const Art& a) {
    Art t(a.empty() ? 0 : a[0].size(), std::string(a.size(), '.'));
    for (size_t y = 0; y < a.size(); ++y)
        for (size_t x = 0; x < a[y].size(); ++x)
            t[x][y] = a[y][x];
    return t;
}

Art mirroredLeftRight(Art a) {
    for (auto& row : a)
        row = std::string(row.rbegin(), row.rend());
    return a;
}

Art mirroredTopBottom(Art a) {
    return Art(a.rbegin(), a.rend());
}

// Art laid over other art; '.' keeps what lies below.
Art overlaid(Art below, const Art& above, int dx, int dy) {
    for (size_t y = 0; y < above.size(); ++y)
        for (size_t x = 0; x < above[y].size(); ++x) {
            const int tx = int(x) + dx, ty = int(y) + dy;
            if (above[y][x] != '.' && ty >= 0 && ty < int(below.size()) && tx >= 0 &&
                tx < int(below[ty].size()))
                below[ty][tx] = above[y][x];
        }
    return below;
}

// Every letter becomes a square of `factor` pixels.
Art enlarged(const Art& a, int factor) {
    Art out;
    for (const auto& row : a) {
        std::string wide;
        for (char c : row)
            wide.append(size_t(factor), c);
        for (int i = 0; i < factor; ++i)
            out.push_back(wide);
    }
    return out;
}

// ---------------------------------------------------------------------------------------------
// Drawing tools (faces of 24 x 24 on 20 x 18 buttons; the filled shapes are 22 high).

const Art kPencil = {
    "............k...", "...........kpk..", "..........kpppk.", ".........kwppRk.",
    "........kyllRk..", ".......kyyYmk...", "......kyyYYk....", ".....kyyYYk.....",
    "....kyyYYk......", "...kyyYYk.......", "..ktyYYk........", "..kttTk.........",
    ".kdtTk..........", ".kdkk...........", "..k.............",
};

const Art kBucket = {
    ".......kk.......", "......k..k......", ".....k....k.....", "....k..kkkkk....",
    "...k..kbbbbbkk..", "...k.kbbBBbbbbk.", "...kkbbbbbbbbbbk", "...klkbbbbbbbbbk",
    "..kllkkbbbbbkbbk", ".kllllwkkkkklkbk", "kllllllwlllmk.bk", ".kllllllwlmk..bk",
    "..kllllllmk..kbk", "...kllllmk...kbk", "....kllmk.....k.", ".....kk.........",
};

const Art kPipette = {
    "...........kkk..", "..........krrRk.", ".........krrRRRk", "........kkrRRRRk",
    ".......kllkRRRk.", "........kllmkk..", ".......kwBkmk...", "......kwBk.k....",
    ".....kwBk.......", "....kwBk........", "...kwBk.........", "..kbBk..........",
    ".kbbk...........", ".kbk............", "..k.............",
};

const Art kBrush = {
    "..............kk", ".............kTk", "............kTTk", "...........kTTk.",
    "..........kTTk..", ".........kTTk...", "........kllk....", ".......klllk....",
    "......kmllk.....", ".....kdddk......", "....kddddk......", "...kbdddk.......",
    "..kbbddk........", "..kbbbk.........", ".kbbkk..........", ".kk.............",
};

const Art kLine = {
    "............kkk.", "............kbk.", "............kkk.", "...........k....",
    "..........k.....", ".........k......", "........k.......", ".......k........",
    "......k.........", ".....k..........", "....k...........", ".kkk............",
    ".kbk............", ".kkk............",
};

const Art kRectangle = {
    "kkkkkkkkkkkkkk", "k............k", "k............k", "k............k", "k............k",
    "k............k", "k............k", "k............k", "k............k", "kkkkkkkkkkkkkk",
};

const Art kEllipse = {
    ".....kkkkkk.....", "...kk......kk...", "..k..........k..", ".k............k.",
    ".k............k.", "k..............k", "k..............k", ".k............k.",
    ".k............k.", "..k..........k..", "...kk......kk...", ".....kkkkkk.....",
};

const Art kFilledRectangle = {
    "kkkkkkkkkkkkkk", "kBBBBBBBBBBBBk", "kBbbbbbbbbbbbk", "kBbbbbbbbbbbbk", "kBbbbbbbbbbbbk",
    "kBbbbbbbbbbbbk", "kBbbbbbbbbbbbk", "kBbbbbbbbbbbbk", "kBbbbbbbbbbbbk", "kkkkkkkkkkkkkk",
};

const Art kFilledEllipse = {
    ".....kkkkkk.....", "...kkBBBBBBkk...", "..kBBbbbbbbbbk..", ".kBbbbbbbbbbbbk.",
    ".kBbbbbbbbbbbbk.", "kBbbbbbbbbbbbbbk", "kBbbbbbbbbbbbbbk", ".kbbbbbbbbbbbbk.",
    ".kbbbbbbbbbbbbk.", "..kbbbbbbbbbbk..", "...kkbbbbbbkk...", ".....kkkkkk.....",
};

const Art kFilledFreehand = {
    ".....kkkk.......", "...kkBBBBkk.....", "..kBBbbbbbBkk...", ".kBbbbbbbbbbBk..",
    ".kBbbbbbbbbbbbk.", "..kbbbbbbbbbbbk.", "...kbbbbbbbbbk..", "...kbbbbbbbbk...",
    "..kbbbbbbbbbk...", ".kbbbbbbbbbbbk..", ".kbbbbbbbbbbbbk.", "..kbbbbkkbbbbbk.",
    "...kkkk..kkkkk..",
};

// Selection tools: marching ants.
const Art kRectangleSelection = {
    "**************", "*............*", "*............*", "*............*", "*............*",
    "*............*", "*............*", "*............*", "*............*", "**************",
};

const Art kEllipseSelection = {
    ".....******.....", "...**......**...", "..*..........*..", ".*............*.",
    ".*............*.", "*..............*", "*..............*", ".*............*.",
    ".*............*.", "..*..........*..", "...**......**...", ".....******.....",
};

const Art kLasso = {
    "....*****.......", "..**.....**.....", ".*.........**...", "*............*..",
    "*.............*.", "*.............*.", ".*...........*..", "..**......***...",
    "....**TT**......", ".....kTTk.......", "....TT..........", "...T............",
    "...T............", "....T...........", "...TT...........",
};

// ---------------------------------------------------------------------------------------------
// Selection transforms (22 x 20 faces on 20 x 18 buttons).

const Art kMirrorLeftRight = {
    ".......d.......", ".....k.d.k.....", "....kk...kk....", "...kbk.d.kwk...", "..kbbk.d.kwwk..",
    ".kbbbk...kwwwk.", "kbbbbk.d.kwwwwk", ".kbbbk.d.kwwwk.", "..kbbk...kwwk..", "...kbk.d.kwk...",
    "....kk.d.kk....", ".....k...k.....", ".......d.......",
};

const Art kRotate = {
    "........kkk.....", ".......kbbbk....", ".......kbbbbk...", "...k....kkbbbk..",
    "..kbk.....kbbk..", ".kbbbk....kbbbk.", "kbbbbbk....kbbk.", ".kbbbk....kbbbk.",
    "..kbbk....kbbk..", "..kbbbkkkkbbbk..", "...kbbbbbbbbk...", "....kbbbbbbk....",
    ".....kkkkkk.....",
};

// ---------------------------------------------------------------------------------------------
// File commands (24 x 24 faces on 20 x 18 buttons).

const Art kNewPage = {
    "..kkkkkkkk......", "..kwwwwwwkk.....", "..kwwwwwwkwk....", "..kwwwwwwkwwk...",
    "..kwwwwwwkkkkk..", "..kwwwwwwwwwwk..", "..kwwwwwwwwwwk..", "..kwwwwwwwwwwk..",
    "..kwwwwwwwwwwk..", "..kwwwwwwwwwwk..", "..kwwwwwwwwwwk..", "..kwwwwwwwwwwk..",
    "..kwwwwwwwwwwk..", "..kwwwwwwwwwwk..", "..kkkkkkkkkkkk..",
};

const Art kOpenFolder = {
    ".kkkk...........", "kYYYYk..........", "kYYYYYkkkkkkk...", "kYYYYYYYYYYYYk..",
    "kYYYkkkkkkkkkkkk", "kYYkyyyyyyyyyyyk", "kYYkyyyyyyyyyyk.", "kYkyyyyyyyyyyyk.",
    "kYkyyyyyyyyyyk..", "kkyyyyyyyyyyyk..", "kkkkkkkkkkkkk...",
};

const Art kPicture = {
    "kkkkkkkkkkkkkkkk", "kBBBBBBBBBBBBBBk", "kBBBBBBBBBByyBBk", "kBBBBBBBBByyyyBk",
    "kBBBBBBBBByyyyBk", "kBBBBBBBBBByyBBk", "kBBBBnBBBBBBBBBk", "kBBBnnnBBBBBBBBk",
    "kBBnnnnnBBBnBBBk", "kBnnnnnnnBnnnBBk", "knnnnnnnnnnnnnBk", "kNnnnnnnnnnnnnnk",
    "kNNNNnnnnnnNNNNk", "kkkkkkkkkkkkkkkk",
};

const Art kExport = {
    "kkkkkkkk........", "kwwwwwwkk.......", "kwwwwwwkwk......", "kwwwwwwkkkk.....",
    "kwwwwwwwwwk.....", "kwwwwwwwwwkk....", "kwwwwwwwwwknk...", "kwwwkkkkkkknnk..",
    "kwwwknnnnnnnnnk.", "kwwwknnnnnnnnnnk", "kwwwknnnnnnnnnk.", "kwwwkkkkkkknnk..",
    "kwwwwwwwwwknk...", "kwwwwwwwwwkk....", "kwwwwwwwwwk.....", "kkkkkkkkkkk.....",
};

const Art kFloppy = {
    "kkkkkkkkkkkkkkk.", "kbbklllllldlkbbk", "kbbklllllldlkbbk", "kbbklllllldlkbbk",
    "kbbkllllllllkbbk", "kbbbkkkkkkkkbbbk", "kbbbbbbbbbbbbbbk", "kbbkkkkkkkkkkbbk",
    "kbkwwwwwwwwwwkbk", "kbkwddddddddwkbk", "kbkwwwwwwwwwwkbk", "kbkwddddddddwkbk",
    "kbkwwwwwwwwwwkbk", "kbkwwwwwwwwwwkbk", "kkkkkkkkkkkkkkkk",
};

const Art kClipboardPicture = {
    ".....kkkkkk.....", "..kkkkllllkkkk..", ".kTTkllkkllkTTk.", ".kTTTkkkkkkTTTk.",
    ".kTkkkkkkkkkkTk.", ".kTkBBBBByyBkTk.", ".kTkBBBBBBBBkTk.", ".kTkBBBnBBBBkTk.",
    ".kTkBBnnnBnBkTk.", ".kTkBnnnnnnnkTk.", ".kTknnnnnnnnkTk.", ".kTkNNNNNNNNkTk.",
    ".kTkkkkkkkkkkTk.", ".kTTTTTTTTTTTTk.", ".kkkkkkkkkkkkkk.",
};

// ---------------------------------------------------------------------------------------------
// Layer and frame buttons (24 x 23 faces on 28 x 15 and 28 x 14 buttons: 12 rows show).

const Art kNewSheet = {
    ".kkkkkkk........", ".kwwwwwkk.......", ".kwwwwwkwk......", ".kwwwwwkkkk.....",
    ".kwwwwwwwwk.....", ".kwwwwwwwwkkkk..", ".kwwwwwwwwkknk..", ".kwwwwwwwkkknkkk",
    ".kwwwwwwwknnnnnk", ".kwwwwwwwkkknkkk", ".kkkkkkkkkkknk..", "...........kkk..",
};

const Art kDelete = {
    "..kk........kk..", ".krrk......krrk.", ".krrrk....krrrk.", "..krrrk..krrrk..",
    "...krrrkkrrrk...", "....krrrrrrk....", "....krrrrrrk....", "...krrrkkrrrk...",
    "..krrrk..krrrk..", ".krrrk....krrrk.", ".krrk......krrk.", "..kk........kk..",
};

const Art kDuplicate = {
    "kkkkkkkk....", "kllllllk....", "kllllllk....", "klllkkkkkkkk", "klllkwwwwwwk", "klllkwwwwwwk",
    "klllkwwwwwwk", "klllkwwwwwwk", "kkkkkwwwwwwk", "....kwwwwwwk", "....kwwwwwwk", "....kkkkkkkk",
};

const Art kEraser = {
    ".....kkkkkkkkkk.", "....kwwwwBBBBBkk", "...kwwwwBBBBBkbk", "..kkkkkkkkkkkbbk",
    "..kppppbbbbbkbbk", "..kppppbbbbbkbk.", "..kppppbbbbbkk..", "..kkkkkkkkkkk...",
    "................", ".d.d.d.d.d......",
};

const Art kPadlock = {
    "..kkkkkk..", ".kllllllk.", ".klkkkklk.", ".klk..klk.", "kkkkkkkkkk", "kyyyyyyyYk",
    "kyyykkyyYk", "kyyykkyyYk", "kyyyykyyYk", "kyyyykyyYk", "kYYYYYYYYk", "kkkkkkkkkk",
};

const Art kMergeDown = {
    "...kkkkkkkkkk...", "...kBBBBBBBBk...", "...kkkkkkkkkk...", "......knnk......",
    "....kkknnkkk....", ".....knnnnk.....", "......knnk......", ".......kk.......",
    ".kkkkkkkkkkkkkk.", ".kbbbbbbbbbbbbk.", ".kbbbbbbbbbbbbk.", ".kkkkkkkkkkkkkk.",
};

const Art kFullOpacity = {
    ".......k....kkk", ".......kk...kdk", "kkkkkkkknk..kdk", "knnnnnnnnnk.kdk", "knnnnnnnnnnkkdk",
    "knnnnnnnnnk.kdk", "kkkkkkkknk..kdk", ".......kk...kdk", ".......k....kkk",
};

// ---------------------------------------------------------------------------------------------
// Frame strip toolbar (24 x 24 faces on 14 pixel high buttons: 12 rows show).

const Art kEye = {
    ".....kkkkkk.....", "...kkwwbbwwkk...", "..kwwwbbbbwwwk..",
    ".kwwwbBkkbbwwwk.", "kwwwwbkkkkbwwwwk", ".kwwwbbkkbbwwwk.",
    "..kwwwbbbbwwwk..", "...kkwwbbwwkk...", ".....kkkkkk.....",
};

const Art kGreyOnion = {
    "dddddddddd......", "dlllllllld......", "dllmmmllld......", "dlmmmmmlld......",
    "dlmmmmkkkkkkkkkk", "dllmmmkwwwwwwwwk", "dllllmkwwrrrwwwk", "ddddddkwrrrrrwwk",
    "......kwrrrrrwwk", "......kwwrrrwwwk", "......kwwwwwwwwk", "......kkkkkkkkkk",
};

const Art kStop = {
    "kkkkkkkkk", "krrrrrrrk", "krrrrrrRk", "krrrrrrRk", "krrrrrrRk",
    "krrrrrrRk", "krrrrrrRk", "kRRRRRRRk", "kkkkkkkkk",
};

// A triangle pointing right, 11 rows high.
const Art kPlayRight = {
    "kk.....", "knk....", "knnk...", "knnnk..", "knnnnk.", "knnnnnk",
    "knnnNk.", "knNNk..", "kNNk...", "kNk....", "kk.....",
};

const Art kStepRight = {
    "kk.....kkk", "kbk....kbk", "kbbk...kbk", "kbbbk..kbk", "kbbbbk.kbk", "kbbbbbkkbk",
    "kbbbbk.kbk", "kbbbk..kbk", "kbbk...kbk", "kbk....kbk", "kk.....kkk",
};

const Art kSkipRight = {
    "kk....kk.....kkk", "kbk...kbk....kbk", "kbbk..kbbk...kbk", "kbbbk.kbbbk..kbk",
    "kbbbbkkbbbbk.kbk", "kbbbbbkbbbbbkkbk", "kbbbbkkbbbbk.kbk", "kbbbk.kbbbk..kbk",
    "kbbk..kbbk...kbk", "kbk...kbk....kbk", "kk....kk.....kkk",
};

const Art kLoop = {
    "...........k....", "..........kbk...", ".kkkkkkkkkkbbk..", "kbbbbbbbbbbbbbk.",
    "kbkkkkkkkkkbbkk.", "kbk.......kbk.bk", "kbk.kk......kkbk", ".kkbbk.......kbk",
    ".kbbbbbbbbbbbbbk", "..kbbkkkkkkkkkk.", "...kbk..........", "....k...........",
};

// ---------------------------------------------------------------------------------------------
// Small arrows: scrolling (23 x 23 faces on 15 x 15 buttons) and zoom (22 x 22 on 8 x 11).

const Art kArrowUp = {
    "....k....", "...kbk...", "..kbbbk..", ".kbbbbbk.", "kbbbbbbbk", "kkkkkkkkk",
};

// ---------------------------------------------------------------------------------------------
// Palette: the colour replacement (a face of the 25-pixel grid on 20 x 15 buttons).

const Art kReplaceColour = {
    "kkkkkkk.........", "krrrrrk.........", "krrrrrk.........", "krrrrrk..kkkkkkk",
    "krrrrrk..kbbbbbk", "krrrrrk..kbbbbbk", "kkkkkkk..kbbbbbk", "..kdk.k..kbbbbbk",
    "..kdkkdk.kbbbbbk", "..kddddddkbbbbbk", "..kkkkdk.kbbbbbk", "......k..kkkkkkk",
};

// ---------------------------------------------------------------------------------------------
// The window icon: a pencil over a checkered sprite with a red heart.

Art windowIcon16() {
    // A 12 x 12 sprite on a checkerboard of 2 x 2 squares, the pencil lying across it.
    Art icon(16, std::string(16, '.'));
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 12; ++x) {
            const bool border = x == 0 || y == 0 || x == 11 || y == 11;
            icon[y][x] = border ? 'k' : ((x / 2 + y / 2) % 2 == 0 ? 'w' : 'l');
        }
    const Art heart = {
        ".rr.rr.", "rrrrrrr", "rrrrrrR", ".rrrrR.", "..rrR..", "...R...",
    };
    return overlaid(overlaid(icon, heart, 2, 2), kPencil, 1, 1);
}

// ---------------------------------------------------------------------------------------------

struct Face {
    const char* what;
    int cellX, cellY;           // top-left corner of the cell in the sheet
    int boxX, boxY, boxW, boxH; // the part of the cell that shows on its button, cell coordinates
    Art art;
};

std::vector<Face> faces() {
    const Art arrowDown = mirroredTopBottom(kArrowUp);
    const Art arrowLeft = transposed(kArrowUp);
    const Art arrowRight = mirroredLeftRight(arrowLeft);
    const Art playLeft = mirroredLeftRight(kPlayRight);
    const Art stepLeft = mirroredLeftRight(kStepRight);
    const Art skipLeft = mirroredLeftRight(kSkipRight);
    const Art mirrorTopBottom = transposed(kMirrorLeftRight);

    // Boxes: a 24 x 24 face on a 20 x 18 button shows columns and rows 4..19; on a 14 pixel high
    // toolbar button rows 6..17; a 24 x 23 face on the layer and frame buttons rows 5..16.
    return {
        // File commands.
        {"new document", 0, 0, 4, 4, 16, 16, kNewPage},
        {"open document", 25, 0, 4, 4, 16, 16, kOpenFolder},
        {"image file", 50, 0, 4, 4, 16, 16, kPicture},
        {"export", 75, 0, 4, 4, 16, 16, kExport},
        {"save", 100, 0, 4, 4, 16, 16, kFloppy},
        {"insert image", 125, 0, 4, 4, 16, 16, kClipboardPicture},
        // Frame navigation and playback.
        {"first frame", 0, 25, 4, 6, 16, 12, skipLeft},
        {"last frame", 25, 25, 4, 6, 16, 12, kSkipRight},
        {"previous frame", 50, 25, 4, 6, 16, 12, stepLeft},
        {"next frame", 75, 25, 4, 6, 16, 12, kStepRight},
        {"stop", 100, 25, 4, 6, 16, 12, kStop},
        {"play backwards", 125, 25, 4, 6, 16, 12, playLeft},
        {"play forwards", 150, 25, 4, 6, 16, 12, kPlayRight},
        // Layer and frame commands.
        {"new layer or frame", 0, 50, 4, 5, 16, 12, kNewSheet},
        {"clear layer", 25, 50, 4, 5, 16, 12, kEraser},
        {"delete layer or frame", 50, 50, 4, 5, 16, 12, kDelete},
        {"duplicate layer or frame", 75, 50, 4, 5, 16, 12, kDuplicate},
        {"visible / enabled / onion skin", 100, 50, 4, 6, 16, 12, kEye},
        {"transparency lock", 125, 50, 4, 5, 16, 12, kPadlock},
        {"loop playback", 150, 50, 3, 6, 16, 12, kLoop},
        // Drawing tools.
        {"flood fill", 0, 75, 4, 4, 16, 16, kBucket},
        {"colour pick", 25, 75, 4, 4, 16, 16, kPipette},
        {"smooth pencil", 50, 75, 4, 4, 16, 16, kBrush},
        {"pencil", 75, 75, 4, 4, 16, 16, kPencil},
        {"line", 100, 75, 4, 4, 16, 16, kLine},
        {"ellipse", 125, 75, 4, 4, 16, 16, kEllipse},
        {"rectangle", 150, 75, 4, 4, 16, 16, kRectangle},
        // Arrows, the colour replacement and merging.
        {"replace colour", 25, 100, 4, 6, 16, 12, kReplaceColour},
        {"scroll layers up", 50, 100, 5, 5, 13, 13, kArrowUp},
        {"scroll layers down", 75, 100, 5, 5, 13, 13, arrowDown},
        {"zoom out / scroll left", 100, 100, 8, 7, 7, 9, arrowLeft},
        {"zoom in / scroll right", 125, 100, 8, 7, 7, 9, arrowRight},
        {"merge down", 150, 100, 4, 5, 16, 12, kMergeDown},
        // Filled shapes and selections.
        {"filled ellipse", 0, 125, 4, 3, 16, 16, kFilledEllipse},
        {"filled rectangle", 25, 125, 4, 3, 16, 16, kFilledRectangle},
        {"filled freehand shape", 50, 125, 3, 3, 16, 16, kFilledFreehand},
        {"ellipse selection", 75, 125, 4, 4, 16, 16, kEllipseSelection},
        {"rectangle selection", 100, 125, 4, 4, 16, 16, kRectangleSelection},
        {"lasso selection", 125, 125, 4, 4, 16, 16, kLasso},
        {"full opacity", 150, 125, 3, 5, 16, 12, kFullOpacity},
        // Selection transforms and the grey onion skin.
        {"mirror left-right", 0, 150, 3, 2, 16, 16, kMirrorLeftRight},
        {"mirror top-bottom", 25, 150, 3, 2, 16, 16, mirrorTopBottom},
        {"next rotation", 50, 150, 3, 2, 16, 16, kRotate},
        {"grey onion skin", 100, 150, 4, 6, 16, 12, kGreyOnion},
    };
}

// Writes art at (x, y) of the image; false when a row is ragged or the art leaves the image.
bool paint(QImage& image, const Art& art, int x, int y) {
    for (size_t row = 0; row < art.size(); ++row) {
        if (art[row].size() != art[0].size())
            return false;
        for (size_t col = 0; col < art[row].size(); ++col) {
            QRgb colour;
            if (!colourOf(art[row][col], int(col), int(row), colour))
                continue;
            const int px = x + int(col), py = y + int(row);
            if (!image.rect().contains(px, py))
                return false;
            image.setPixel(px, py, colour);
        }
    }
    return true;
}

QImage blank(int w, int h) {
    QImage image(w, h, QImage::Format_ARGB32);
    image.fill(0);
    return image;
}

bool save(const QImage& image, const std::string& path) {
    if (image.save(QString::fromStdString(path), "PNG"))
        return true;
    std::fprintf(stderr, "make_artwork: cannot write %s\n", path.c_str());
    return false;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr,
                     "usage: make_artwork <sheet.png> <icon folder> [<desktop icon folder>]\n");
        return 2;
    }

    QImage sheet = blank(175, 175);
    for (const Face& f : faces()) {
        const int w = int(f.art.empty() ? 0 : f.art[0].size()), h = int(f.art.size());
        if (w > f.boxW || h > f.boxH) {
            std::fprintf(stderr, "make_artwork: %s is %d x %d, its box only %d x %d\n", f.what, w,
                         h, f.boxW, f.boxH);
            return 1;
        }
        const int x = f.cellX + f.boxX + (f.boxW - w) / 2;
        const int y = f.cellY + f.boxY + (f.boxH - h) / 2;
        if (!paint(sheet, f.art, x, y)) {
            std::fprintf(stderr, "make_artwork: %s is malformed\n", f.what);
            return 1;
        }
    }

    const Art icon = windowIcon16();
    QImage icon16 = blank(16, 16), icon32 = blank(32, 32);
    if (!paint(icon16, icon, 0, 0) || !paint(icon32, enlarged(icon, 2), 0, 0)) {
        std::fprintf(stderr, "make_artwork: the window icon is malformed\n");
        return 1;
    }

    const std::string folder = argv[2];
    bool saved = save(sheet, argv[1]) && save(icon32, folder + "/vork32.png") &&
                 save(icon16, folder + "/vork16.png");
    if (argc == 4) {
        for (int size : {16, 24, 32, 48, 64, 128, 256}) {
            QImage desktop = blank(size, size);
            paint(desktop, enlarged(icon, size / 16 == 0 ? 1 : size / 16), (size % 16) / 2,
                  (size % 16) / 2);
            saved = saved &&
                    save(desktop, std::string(argv[3]) + "/vork-" + std::to_string(size) + ".png");
        }
    }
    return saved ? 0 : 1;
}
