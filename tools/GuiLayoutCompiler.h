// GUI layout sources: a readable text form of a screen's window tree, compiled into the .GUI record stream the
// program loads, through the same record writer the program's own Save uses.
//
//   # a comment
//   screen
//   window name=frame rect=100,80,500,400 skin=GUI\Skins\Physical.skn
//     label name=title rect=110,90,490,120 text=STR_TITLE font=8 align=1,1
//     textbutton name=ok rect=300,350,390,380 text=STR_OK up=buttons\ok.bmp
//   picture name=art rect=0,0,800,600 image=art\back.bmp stretch=0,0
//
// A line's indentation (spaces) makes it a child of the nearest less indented line above; the first line is
// "screen". Each window line is a kind (window, label, picture, button, textbutton) and key=value fields; a value
// with blanks is written in double quotes. Colours are r,g,b,a; rectangles left,top,right,bottom (back-buffer
// pixels, exclusive right and bottom); booleans 0 or 1. Button looks take the prefixes up., down., over. and
// disabled. (for example down.frame=255,255,0,255). Every record field has a key; the tables in the .cpp list them.
#pragma once

#include "tools/Diagnostics.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace datac {

// The record stream of a layout source, or false with errors naming file and line.
bool CompileGuiLayout(std::string_view source, const std::string& fileName, std::vector<std::uint8_t>& out,
                      Diagnostics& diagnostics);
// Every *.gui.txt of the folder into GUI/Interfaces/<name>.GUI under the install folder.
bool CompileGuiLayoutFiles(const std::vector<std::string>& sources, const std::string& outFolder,
                           Diagnostics& diagnostics);

} // namespace datac
