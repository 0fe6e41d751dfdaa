#pragma once

#include <cstdint>
#include <string>

#include "catalogue/RomCheck.h"
#include "romio/RomImage.h"

// What the user is told when a chosen ROM image cannot be loaded. The editor's message boxes and
// the command-line tool use the same words.
struct RomMessage {
    std::string text;
    std::string caption;
};

namespace rom_messages {

struct Fixed {
    const char* text;
    const char* caption;
};

inline constexpr Fixed FILE_NOT_FOUND{"Invalid File Specified", "It doesn't exist"};
inline constexpr Fixed CANNOT_READ{"The chosen file cannot be read.", "Cannot read file"};
inline constexpr Fixed WRONG_GAME{"Not a Moonglass ROM", "Wrong Game"};
inline constexpr Fixed WRONG_REGION{"Only NTSC MG ROM Allowed", "Wrong Region"};

}  // namespace rom_messages

// The message for a refused verdict; `fileLength` goes into the wrong-size text. Accepted
// verdicts give empty texts.
inline RomMessage RomVerdictMessage(RomVerdict verdict, std::uint64_t fileLength) {
    switch (verdict) {
        case RomVerdict::WrongGame:
            return {rom_messages::WRONG_GAME.text, rom_messages::WRONG_GAME.caption};
        case RomVerdict::WrongRegion:
            return {rom_messages::WRONG_REGION.text, rom_messages::WRONG_REGION.caption};
        case RomVerdict::WrongSize:
            return {"Not a complete Moonglass ROM image: the file is " +
                        std::to_string(fileLength) + " bytes long, a ROM image is exactly " +
                        std::to_string(ROM_IMAGE_SIZE) + " bytes.",
                    "Wrong size"};
        case RomVerdict::Native:
        case RomVerdict::Swapped:
            break;
    }
    return {};
}
