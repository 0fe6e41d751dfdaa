#pragma once

#include <cstdint>
#include <string>

#include "catalogue/RomCheck.h"
#include "io/RomImage.h"

// What the user is told when a chosen ROM image is refused: the editor's message boxes and the
// command-line tool use the same words.

struct RomFixedMessage {
    const char* text;
    const char* caption;
};

namespace rom_messages {

inline constexpr RomFixedMessage FILE_NOT_FOUND{"Invalid File Specified", "It doesn't exist"};
inline constexpr RomFixedMessage WRONG_GAME{"Not a Moonglass ROM", "Wrong Game"};
inline constexpr RomFixedMessage WRONG_REGION{"Only NTSC MG ROM Allowed", "Wrong Region"};
inline constexpr const char* WRONG_SIZE_CAPTION = "Wrong size";
inline constexpr RomFixedMessage CANNOT_READ{"The ROM image cannot be opened or read.",
                                             "Cannot open file"};

}  // namespace rom_messages

// A message whose text depends on the file.
struct RomMessage {
    std::string text;
    std::string caption;
};

// The refusal of a file whose header is accepted but whose length is not that of a ROM image,
// naming both lengths in bytes.
inline std::string WrongSizeText(std::uint64_t fileLength) {
    return "Not a Moonglass ROM image: the file is " + std::to_string(fileLength) +
           " bytes long, a ROM image is exactly " + std::to_string(ROM_IMAGE_SIZE) + " bytes.";
}

// The message for a refused verdict; empty texts for Native and Swapped, which are accepted and
// never reported. `fileLength` is used only by WrongSize.
inline RomMessage RomVerdictMessage(RomVerdict verdict, std::uint64_t fileLength) {
    switch (verdict) {
        case RomVerdict::Native:
        case RomVerdict::Swapped:
            return {};
        case RomVerdict::WrongGame:
            return {rom_messages::WRONG_GAME.text, rom_messages::WRONG_GAME.caption};
        case RomVerdict::WrongRegion:
            return {rom_messages::WRONG_REGION.text, rom_messages::WRONG_REGION.caption};
        case RomVerdict::WrongSize:
            return {WrongSizeText(fileLength), rom_messages::WRONG_SIZE_CAPTION};
    }
    return {rom_messages::WRONG_GAME.text, rom_messages::WRONG_GAME.caption};
}
