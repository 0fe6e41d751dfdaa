#pragma once

#include <filesystem>
#include <string>
#include <vector>

// mgromtool's commands that write new ROM images and custom ROM patches. Usage lines:
//
//   build WORKING.rom OUT.rom [--catalogue DIR] --replace TARGET=SOURCE [TARGET=SOURCE ...]
//                   write a new ROM as Save New ROM does after a Replace for each pair: TARGET
//                   is the hexadecimal ROM offset of a catalogued texture, SOURCE that of
//                   another one or the name of an image (".bmp" or ".png", any case) in DIR's
//                   romimages/User/ folder; DIR (the catalogue and tableBinary.bin) defaults to
//                   the editor's catalogue (FindCatalogueFolder); a later pair for the same
//                   TARGET wins
//   diff OLD.rom NEW.rom OUT.pat|OUT.ips|OUT.bps [--format pat|ips|bps]
//                   write the patch that turns OLD into NEW, in the format OUT's extension
//                   names (custom ".pat" for any other) or --format names
//   apply WORKING.rom PATCH OUT.rom
//                   write WORKING with the patch (custom, IPS or BPS) applied to OUT
//
// Every ROM image is a swapped-order image of the accepted ROM (as `check` reports "swapped").
// Each command takes the arguments that follow its name and returns the process's exit status
// (ROM_COMMAND_OK, ROM_COMMAND_REFUSED or ROM_COMMAND_USAGE of RomCommands.h). A refusal prints
// the editor's text on standard error; an output file appears only when it is complete, and on
// any refusal or failure an existing file of that name is left untouched.

// build: the replacement pairs are checked in order as Replace checks them: TARGET must be a
// texture of a game class (0 to 22) in the catalogue, SOURCE another game texture of the
// catalogue or a User bitmap that the catalogue scan loaded and that converts. A source's size is
// its room (from tableBinary.bin, 0x200 when the table does not bound it or is missing) or its
// record's length; a source larger than the target's room is refused with "Too large, cannot
// replace", the target itself with "Same image". Then the pending replacements are written as
// Save New ROM writes them. Scanning DIR creates any missing description file there, as loading
// a ROM in the editor does. Prints nothing on success.
int RunBuild(const std::vector<std::string>& args, const std::filesystem::path& toolFolder);

// diff: OLD and NEW must be accepted swapped-order images and OUT neither of them. Writes the
// patch and prints the number of its records on standard output (IPS and BPS: its size). A
// custom patch that would need more than 4096 records is refused. IPS and BPS patches describe
// the change between the native-order images.
int RunDiff(const std::vector<std::string>& args);

// apply: WORKING must be an accepted swapped-order image and OUT.rom neither WORKING nor the
// patch, which is read as IPS or BPS by its first bytes and as a custom patch otherwise; IPS and
// BPS apply to WORKING's native-order image. The patch is checked whole before anything is written;
// a patch of no records writes a copy of WORKING. Prints nothing on success.
int RunApply(const std::vector<std::string>& args);
