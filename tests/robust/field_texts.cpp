#include "tests/robust/field_texts.h"

#include <random>

namespace robust {
namespace {

using Random = std::mt19937;

constexpr int kRight[5] = {2026, 12, 5, 14, 30};

// Blanks that the number conversion skips, of which only some are in the
// ANSI code page and only some survive the profile functions.
const wchar_t kBlanks[] = {L' ', L' ', L' ', L'\t', L'\n', L'\r', L'\v', L'\f', 0x00A0, 0x2003, 0x3000, 0x2009, 0x202F};

// Characters for the random texts, each entry equally likely: digits and what
// a number may hold, syntax of the settings file, control characters, and
// characters the ANSI code page cannot hold (U+2028 is a line separator,
// D83D DE00 a surrogate pair, D800 a lone surrogate).
const wchar_t* const kPieces[] = {
    L"0", L"1", L"2", L"3", L"4", L"5", L"6", L"7", L"8", L"9", L"0", L"1", L"4", L"2", L"+", L"-", L",", L".", L"e",
    L"E", L"&H", L"&O", L"h", L"(", L")", L"\x20AC", L"$", L" ", L"\t", L"\"", L"'", L"=", L"[", L"]", L";", L"#",
    L"\\", L"%", L"a", L"Z", L"\x00E4", L"\x00DF", L"\x0001", L"\x001A", L"\x001B", L"\x007F", L"\r\n", L"\n",
    L"\x00A0", L"\x03A9", L"\x4E2D", L"\xFB00", L"\x2028", L"\x0085", L"\xD83D\xDE00", L"\xD800", L"\xFFFF",
    L"\xFEFF", L"\xFF11", L"\x0661", L"\x200B", L"\x3000"};

std::size_t Pick(Random& random, std::size_t count) {
    return std::uniform_int_distribution<std::size_t>(0, count - 1)(random);
}

bool Chance(Random& random, int percent) {
    return static_cast<int>(Pick(random, 100)) < percent;
}

std::wstring Blanks(Random& random, std::size_t most) {
    std::wstring text;
    for (std::size_t n = Pick(random, most + 1); n > 0; --n) text += kBlanks[Pick(random, std::size(kBlanks))];
    return text;
}

std::wstring InBase(int value, int base) {
    std::wstring digits;
    do {
        digits.insert(digits.begin(), L"0123456789ABCDEF"[value % base]);
        value /= base;
    } while (value > 0);
    return digits;
}

// The number written in one of the forms the conversion may read.
std::wstring Written(Random& random, long long value) {
    const bool negative = value < 0;
    const long long magnitude = negative ? -value : value;
    std::wstring digits = std::to_wstring(magnitude);
    std::wstring body;
    switch (Pick(random, 10)) {
        case 0:
            body = std::wstring(1 + Pick(random, 3), L'0') + digits;
            break;
        case 1:  // thousands separator of the German locale
            body = digits.size() > 3 ? digits.substr(0, digits.size() - 3) + L"." + digits.substr(digits.size() - 3)
                                     : digits + L".";
            break;
        case 2: {
            const wchar_t* fractions[] = {L",0", L",00", L",4", L",49", L",5", L",51", L",", L",9"};
            body = digits + fractions[Pick(random, std::size(fractions))];
            break;
        }
        case 3: {
            const wchar_t* exponents[] = {L"e0", L"E+0", L"0e-1", L"00E-2", L"e1"};
            body = digits + exponents[Pick(random, std::size(exponents))];
            break;
        }
        case 4:  // 14 as 1,4e1
            body = digits.substr(0, 1) + L"," + digits.substr(1) + L"e" + std::to_wstring(digits.size() - 1);
            break;
        case 5:
            if (magnitude <= 0xFFFF) {
                body = (Chance(random, 50) ? L"&H" : L"&h") + InBase(static_cast<int>(magnitude), 16);
            } else {
                body = digits;
            }
            break;
        case 6:
            if (magnitude <= 0xFFFF) {
                body = (Chance(random, 50) ? L"&O" : L"&o") + InBase(static_cast<int>(magnitude), 8);
            } else {
                body = digits;
            }
            break;
        default:
            body = digits;
            break;
    }
    std::wstring text;
    if (negative) {
        switch (Pick(random, 3)) {
            case 0: text = L"-" + body; break;
            case 1: text = body + L"-"; break;
            default: text = L"(" + body + L")"; break;
        }
    } else {
        switch (Pick(random, 6)) {
            case 0: text = L"+" + body; break;
            case 1: text = L"+ " + body; break;
            case 2: text = body + L"+"; break;
            default: text = body; break;
        }
    }
    switch (Pick(random, 8)) {
        case 0: text = L"\x20AC" + text; break;
        case 1: text += L" \x20AC"; break;
        default: break;
    }
    if (Chance(random, 60)) text = Blanks(random, 3) + text + Blanks(random, 3);
    return text;
}

std::wstring RightNumber(Random& random, int field) {
    return Written(random, kRight[field]);
}

std::wstring Boundary(Random& random, int field) {
    const long long values[] = {-32769, -32768, -32767, -1, 0, 1, kRight[field] - 1, kRight[field] + 1, 9999, 10000,
                                32767, 32768, 65535, 65536, 99999, 2147483648LL, 4294967296LL};
    return Written(random, values[Pick(random, std::size(values))]);
}

std::wstring RandomCharacters(Random& random) {
    std::wstring text;
    for (std::size_t n = Pick(random, 25); n > 0; --n) text += kPieces[Pick(random, std::size(kPieces))];
    return text;
}

std::wstring Long(Random& random, int field) {
    const std::size_t lengths[] = {3, 5, 16, 200, 250, 252, 253, 254, 255, 256, 300, 1000, 4096, 40000};
    const std::size_t length = lengths[Pick(random, std::size(lengths))];
    const std::wstring right = std::to_wstring(kRight[field]);
    const std::size_t pad = length > right.size() ? length - right.size() : 0;
    switch (Pick(random, 5)) {
        case 0: return std::wstring(pad, L'0') + right;
        case 1: return std::wstring(pad, L' ') + right;
        case 2: return right + std::wstring(pad, L' ');
        case 3: return std::wstring(length, L'9');
        default: {
            std::wstring text;
            while (text.size() < length) text += kPieces[Pick(random, std::size(kPieces))];
            return text;
        }
    }
}

struct Family {
    const char* name;
    int weight;
    std::wstring (*make)(Random&, int field);
};

const Family kFamilies[] = {
    {"right number, other form", 35, RightNumber},
    {"boundary number", 15, Boundary},
    {"random characters", 30, [](Random& random, int) { return RandomCharacters(random); }},
    {"longer than the limit", 10, Long},
};

}  // namespace

const Fields& PinnedFields() {
    static const Fields fields = {L"2026", L"12", L"5", L"14", L"30"};
    return fields;
}

std::vector<FieldInput> GenerateFieldInputs(std::size_t count, std::uint32_t seed) {
    Random random(seed);
    int totalWeight = 0;
    for (const Family& f : kFamilies) totalWeight += f.weight;

    std::vector<FieldInput> inputs;
    inputs.reserve(count);
    while (inputs.size() < count) {
        FieldInput input;
        input.fields = PinnedFields();
        input.hold = Chance(random, 30);
        // Mostly one field changed, so that the others let the clock take it.
        const std::size_t changed = Chance(random, 85) ? 1 : 2 + Pick(random, 4);
        for (std::size_t n = 0; n < changed; ++n) {
            int roll = static_cast<int>(Pick(random, static_cast<std::size_t>(totalWeight)));
            const Family* family = &kFamilies[0];
            for (const Family& f : kFamilies) {
                if (roll < f.weight) {
                    family = &f;
                    break;
                }
                roll -= f.weight;
            }
            const int field = static_cast<int>(Pick(random, 5));
            input.fields[static_cast<std::size_t>(field)] = family->make(random, field);
            input.family = changed == 1 ? family->name : "several fields";
        }
        inputs.push_back(std::move(input));
    }
    return inputs;
}

}  // namespace robust
