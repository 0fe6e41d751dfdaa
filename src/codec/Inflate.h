#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

// A raw DEFLATE (RFC 1951) inflater: stored, fixed-code and dynamic-code blocks, any number of
// blocks, up to and including the block marked final. It never reads past the input nor writes
// past `outputLimit` bytes; every malformed stream is refused with the reason.

enum class InflateResult {
    Ok,
    InputEnded,       // the stream stops before its final block ends
    BadBlockType,     // block type 3
    BadStoredLength,  // a stored block's length and its complement disagree
    BadCodeLengths,   // a dynamic block's code lengths form no usable code
    BadSymbol,        // a length or distance symbol the format does not define (286, 287, 30, 31),
                      // or a bit pattern that a block's incomplete code leaves unassigned
    DistanceTooFar,   // a match reaches back before the first output byte
    OutputPastLimit,  // the stream inflates to more than `outputLimit` bytes
};

struct InflateOutcome {
    InflateResult result = InflateResult::InputEnded;
    // The inflated bytes; on a refusal, what was produced before the fault.
    std::vector<std::uint8_t> output;
    // Bits of the input consumed up to and including the final block's end-of-block code (or up
    // to the fault), counted from the first byte's least significant bit.
    std::size_t bitsUsed = 0;
};

// Inflates `stream` up to the end of its final block; bytes after that block change nothing. A
// stream is accepted exactly when zlib's raw inflater, given `outputLimit` bytes of room, would
// accept it, and then gives the same bytes.
InflateOutcome InflateRaw(std::span<const std::uint8_t> stream, std::size_t outputLimit);
