#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>

class QBoxLayout;
class QWidget;

// The status bar below the window's panel. The loaded ROM's identity shows on its right: its name
// and the CRC32 of its image in native order, which is what ROM dump lists give. The rest of the
// bar reports what the commands did.

// Adds the (empty) bar to `window`'s `layout`, below everything already there.
void AddRomIdentityBar(QWidget* window, QBoxLayout* layout);

// Shows the loaded ROM `chosen` with its CRC32 in `window`'s bar; clears it when there is none.
void ShowRomIdentity(QWidget* window, const std::filesystem::path& chosen,
                     std::optional<std::uint32_t> nativeCrc);
