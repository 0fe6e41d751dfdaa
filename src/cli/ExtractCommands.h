#pragma once

#include <filesystem>
#include <string>
#include <vector>

// mgromtool's commands that read textures out of a ROM image. Usage lines:
//
//   extract ROM DIR [--force]
//                   build in DIR the catalogue the editor loads, from the ROM's own texture
//                   records: romimages/<class>/<OFFSET>.bmp for every record of a game class,
//                   the missing description files (empty), romimages/User/ and tableBinary.bin
//   export ROM OFFSET OUT.bmp
//                   write the texture record at the hexadecimal native OFFSET as a 4 or 8-bit
//                   bitmap
//   verify ROM [--catalogue DIR]
//                   decode the record of every texture of DIR's catalogue (the tool's own folder
//                   by default) and compare it with its bitmap
//
// ROM is the accepted ROM image in either byte order (as `check` accepts it). Each command takes
// the arguments after its name and returns the process's exit status (RomCommands.h).

// extract: prints the textures found per class and the records left out (offset, size, width x
// height, format flag and why). Refused with status 1, nothing written, when a bitmap of a
// texture or tableBinary.bin is in DIR already (unless --force, which writes over them) or
// when a file cannot be written (what was written is undone).
int RunExtract(const std::vector<std::string>& args);
// export: refused with status 1, nothing written, when no record decodes at OFFSET.
int RunExport(const std::vector<std::string>& args);
// verify: prints one line for each texture whose record does not decode or whose picture
// differs from its bitmap, then a verdict line; status 0 when every texture is sound, 1 when
// one is not or the catalogue holds no bitmap.
int RunVerify(const std::vector<std::string>& args, const std::filesystem::path& toolFolder);
