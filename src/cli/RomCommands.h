#pragma once

#include <string>
#include <vector>

// mgromtool's ROM commands. Usage lines:
//
//   check ROM [--crc]
//                   tell whether ROM is an image the editor accepts: prints "native" or
//                   "swapped" (with --crc followed by the native-order image's CRC32);
//                   otherwise says why not on standard error and exits 1
//   swap IN OUT     write IN with the two bytes of every 16-bit pair exchanged to OUT (native
//                   order becomes swapped and back); IN and OUT must be different files and IN
//                   must have an even number of bytes
//   demo-kit [DIR]  write the demo kit into DIR (created if missing): a made-up ROM image,
//                   the catalogue folders, tableBinary.bin, user bitmaps and README.txt;
//                   without DIR into UserDataFolder, where the installed editor finds it
//
// Each takes the arguments that follow the command's name, prints to standard output and
// standard error, and returns the process's exit status.

// Exit statuses of the commands below.
inline constexpr int ROM_COMMAND_OK = 0;
inline constexpr int ROM_COMMAND_REFUSED = 1;  // refused file, failed read or write
inline constexpr int ROM_COMMAND_USAGE = 2;    // wrong arguments

// check ROM: judges the file as Load ROM does, by its header and its length. An accepted image
// prints exactly "native" or "swapped" and a line feed on standard output and returns 0; with
// --crc the word is followed by a space and the CRC32 of the image in native order (eight
// upper-case hexadecimal digits), which is how ROM dump lists identify an image. A
// refused one prints the editor's text ("Not a Moonglass ROM", "Only NTSC MG ROM Allowed" or the
// wrong-size sentence) on standard error and returns 1, as does a file that does not exist or
// cannot be read.
int RunCheck(const std::vector<std::string>& args);

// swap IN OUT: reads all of IN, exchanges the bytes of every pair and writes the result to OUT,
// which appears only once it is complete and replaces any earlier file there. Refused (status 1,
// nothing written) when IN does not exist or cannot be read, when IN has an odd number of bytes
// (no ROM image in either order has), or when OUT names the same file as IN. The header is not
// examined, so any even-length file can be converted. Prints nothing on success.
int RunSwap(const std::vector<std::string>& args);

// demo-kit [DIR]: writes the demo kit (MakeDemoKit) into DIR, or into this user's data folder
// (ThisUserDataFolder), and prints what it wrote; a failure is printed on standard error with
// status 1, and no DIR where no data folder can be named is wrong arguments.
int RunDemoKit(const std::vector<std::string>& args);
