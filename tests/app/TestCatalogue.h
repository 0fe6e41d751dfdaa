#pragma once

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "TempFolder.h"
#include "TestBitmaps.h"
#include "catalogue/ImageTable.h"
#include "catalogue/SizeClasses.h"
#include "io/ByteOrder.h"
#include "io/RomImage.h"

// A small installation for window tests: a program folder with a catalogue (one bitmap per game
// class unless told otherwise), an image table, and ROM images in either byte order.
class TestCatalogue {
public:
    explicit TestCatalogue(const TempFolder& folder) : m_folder(folder) {}

    std::filesystem::path ProgramFolder() const { return m_folder / "program"; }

    // An 8-bit bitmap of the given size whose pixels all use colour-table entry `colour`.
    static Bytes SolidBitmap(int width, int height, std::uint8_t red, std::uint8_t green,
                             std::uint8_t blue, std::uint16_t bitCount = 8) {
        TestBitmap bitmap;
        bitmap.width = width;
        bitmap.height = height;
        bitmap.bitCount = bitCount;
        const auto entry = Bgr0(red, green, blue);
        bitmap.table.assign(entry.begin(), entry.end());
        bitmap.table.resize(bitCount == 4 ? 64 : 1024, 0);
        const int stride = ((bitCount * width + 31) / 32) * 4;
        bitmap.pixels.assign(static_cast<std::size_t>(stride) * height, 0);
        return bitmap.Build();
    }

    // Adds a bitmap "<offset as six hex digits><suffix>.bmp" to a game class; the ROM images
    // written afterwards hold `paletteByte` as byte 1 of the texture's record.
    void AddTexture(int sizeClass, std::uint32_t offset, const std::string& suffix = "",
                    std::uint8_t red = 0x80, std::uint8_t paletteByte = 0x0F) {
        m_paletteBytes.emplace_back(offset, paletteByte);
        char name[64];
        std::snprintf(name, sizeof name, "%06X%s.bmp", offset, suffix.c_str());
        m_folder.Write(ClassRelative(sizeClass) + name,
                       SolidBitmap(static_cast<int>(ClassWidth(sizeClass)),
                                   static_cast<int>(ClassHeight(sizeClass)), red, 0x40, 0x20));
    }
    void AddUserBitmap(const std::string& name, const Bytes& bytes) {
        m_folder.Write(ClassRelative(USER_CLASS) + name, bytes);
    }
    void SetDescriptions(int sizeClass, const std::string& text) {
        m_folder.WriteText(
            ClassRelative(sizeClass) + std::string(SizeClasses()[sizeClass].descriptionFile), text);
    }
    // One texture in every game class but those listed.
    void FillGameClasses(const std::vector<int>& except = {}) {
        for (int c = 0; c < USER_CLASS; ++c) {
            if (std::find(except.begin(), except.end(), c) == except.end()) {
                AddTexture(c, 0x100000 + 0x1000 * c);
            }
        }
    }
    // An image table of the given values (a short file when fewer than 2699), all zero when
    // none are given.
    void WriteImageTable(const std::vector<std::uint32_t>& values = {}) {
        Bytes bytes(values.empty() ? IMAGE_TABLE_LENGTH * 4 : 0, 0);
        for (std::uint32_t value : values) {
            for (int i = 0; i < 4; ++i) {
                bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
            }
        }
        m_folder.Write("program/" + std::string(IMAGE_TABLE_FILE), bytes);
    }

    // A ROM image that Load ROM accepts, as a file of the given byte order. Extra header bytes
    // at 0x3E and 0x3F (as stored in the file) can be given to make it a refused one.
    std::filesystem::path WriteRom(const std::string& name, bool swapped, int country = -1,
                                   int version = -1) const {
        Bytes image(ROM_IMAGE_SIZE, 0);
        for (std::size_t i = 0; i < image.size(); i += 4099) {
            image[i] = static_cast<std::uint8_t>(i / 4099);
        }
        const char* title = "MOONGLASS";
        std::copy(title, title + 9, image.begin() + 0x20);
        for (const auto& [offset, paletteByte] : m_paletteBytes) {
            image[offset + 1] = paletteByte;
        }
        image[0x3E] = 0x45;
        image[0x3F] = 0x00;
        if (country >= 0) {
            image[0x3E] = static_cast<std::uint8_t>(country);
            image[0x3F] = static_cast<std::uint8_t>(version);
        }
        if (swapped) {
            SwapBytePairs(image);
            if (country >= 0) {  // the given bytes are as stored
                image[0x3E] = static_cast<std::uint8_t>(country);
                image[0x3F] = static_cast<std::uint8_t>(version);
            }
        }
        return m_folder.Write(name, image);
    }

private:
    std::string ClassRelative(int sizeClass) const {
        std::string folder(SizeClasses()[sizeClass].folder);
        for (char& c : folder) {
            if (c == '\\') {
                c = '/';
            }
        }
        return "program" + folder;
    }

    const TempFolder& m_folder;
    std::vector<std::pair<std::uint32_t, std::uint8_t>> m_paletteBytes;
};
