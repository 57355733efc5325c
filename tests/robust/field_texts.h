// Generated texts for the five fields. The clock of the field tests stands at
// kPinnedUtc, so a text that converts to its part of that moment really sets
// the clock and gets stored: those are the texts whose storing matters.
#pragma once

#include "tests/robust/drive.h"

#include <cstdint>
#include <string>
#include <vector>

namespace robust {

inline const SYSTEMTIME kPinnedUtc = ui::Time(2026, 12, 5, 14, 30);
// The plain texts of kPinnedUtc, year to minute.
const Fields& PinnedFields();

struct FieldInput {
    Fields fields;
    bool hold = false;
    const char* family = "";
};

// `count` inputs, the same ones for the same seed. Families:
//  - the right number written otherwise: signs, blanks of every kind, leading
//    zeros, decimal and thousands separators, exponents, &H and &O forms,
//    the currency sign;
//  - boundary numbers around -32768..32767 and next to the right one;
//  - random characters: control characters, quotes, profile syntax ("=[];"),
//    characters outside the ANSI code page, surrogates;
//  - texts far past the fields' length limits, up to tens of thousands of
//    characters;
//  - several fields changed at once.
std::vector<FieldInput> GenerateFieldInputs(std::size_t count, std::uint32_t seed);

}  // namespace robust
