#pragma once

#include <string>
#include <vector>

// mgromtool's texture commands. Usage lines:
//
//   compress BITMAP OUT.bin [--format N|G]
//                   convert a 4, 8 or 16-bit bitmap and write its compressed texture record,
//                   as Insert User Image writes compressed.bin (format N unless --format G)
//   preview BITMAP OUT.bmp
//                   write the converted texture as a 32 x 32, 16-bit bitmap, as Insert User
//                   Image writes output8.bmp
//
// A bitmap that cannot be converted is reported on standard error and nothing is written. Each
// takes the arguments after the command's name and returns the process's exit status.
int RunCompress(const std::vector<std::string>& args);
int RunPreview(const std::vector<std::string>& args);
