#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "catalogue/SizeClasses.h"
#include "codec/TextureRecordScan.h"

// Which records of a ROM image make the catalogue, and the image table that bounds their rooms.

// Rooms are kept within what a replacement size can hold.
inline constexpr std::uint32_t MAX_EXTRACTED_ROOM = 0xFFFF;

// A record that the catalogue leaves out.
enum class LeftOutReason {
    NoClass,        // its width, height and format flag match no game class
    InsideAnother,  // it starts inside the bytes of an earlier record
    TableFull,      // the image table has no values left to bound its room
};
struct LeftOutRecord {
    std::uint32_t offset = 0;
    std::size_t size = 0;  // the record's size in bytes
    int width = 0;
    int height = 0;
    char formatFlag = 'N';
    LeftOutReason reason = LeftOutReason::NoClass;
};

// A texture of the catalogue.
struct PlannedTexture {
    int sizeClass = 0;
    std::size_t record = 0;  // index into the scanner's records
    std::uint32_t offset = 0;
    std::size_t size = 0;    // the record's size in bytes
    std::uint32_t room = 0;  // what the image table gives it
};

struct CataloguePlan {
    std::vector<PlannedTexture> textures;                  // ascending offsets
    std::vector<LeftOutRecord> leftOut;                    // ascending offsets
    std::array<std::size_t, SIZE_CLASS_COUNT> perClass{};  // textures of each class
    // The image table's values (IMAGE_TABLE_LENGTH of them), little-endian in the file.
    std::vector<std::uint32_t> table;
};

// The game class (0 to 22) whose width, height and format flag the texture has, or -1.
int MatchSizeClass(const DecodedTexture& texture);

// Plans the catalogue of a native-order image from its records (ascending offsets, as the
// scanner gives them). A record starting inside an earlier kept record is left out; every other
// record whose size and flag match a game class becomes a texture.
//
// Room of a texture at X whose record ends at S: the run of padding bytes after S (bytes all
// equal to the first, which is 0x00 or 0xFF) reaches E, never past the next kept record nor past
// the image. With at least one padding byte the room is E - X - 1, leaving the last padding byte
// out as the table's own layout does between neighbours; without any it is S - X. Rooms are cut
// to MAX_EXTRACTED_ROOM. So no replacement the room allows can write over bytes that are neither
// the texture's nor padding.
//
// Table layout: for each texture in offset order the value X - 1 (unless the value before is
// already X - 1, as the room of a neighbour whose padding reaches this record writes it), then
// X + room; the values are then filled up to IMAGE_TABLE_LENGTH by repeating the last. The editor
// finds X - 1 and takes the room from the value after it. A texture whose values would not fit
// is left out (TableFull), and so is every texture after it.
CataloguePlan PlanCatalogue(std::span<const FoundRecord> records,
                            std::span<const std::uint8_t> nativeImage);
