#include "recipe/sheet_recipe.h"

#include <algorithm>
#include <array>

#include "recipe/reed_solomon.h"
#include "render/paper_size.h"
#include "worksheet/decimal_operations.h"
#include "worksheet/operations.h"
#include "worksheet/text_to_int.h"
#include "worksheet/wrong_procedures.h"

namespace {

// The first byte: its low four bits the version, the digit boxes as varints
// or two to a byte; from version 3 on its high four bits the page's kind and
// the check covering the whole recipe (versions 1 and 2 checked the problems
// alone and were always problem sheets); versions 5 and 6 are 3 and 4 with a
// byte after the problem count for a follow-up sheet's procedure.
constexpr uint8_t kVersion = 1, kVersionPacked = 2, kVersionWhole = 3, kVersionWholePacked = 4, kVersionFollowUp = 5,
                  kVersionFollowUpPacked = 6;
constexpr int kParity = 20;
constexpr int kDataModules = kCodeModules - 2;  // inside the ring
constexpr size_t kBlockBytes = kDataModules * kDataModules / 8;  // 60

void PutVarint(std::vector<uint8_t>& out, uint64_t value)
{
    while (value >= 0x80) {
        out.push_back(static_cast<uint8_t>(value | 0x80));
        value >>= 7;
    }
    out.push_back(static_cast<uint8_t>(value));
}

void PutSigned(std::vector<uint8_t>& out, int32_t value)
{
    PutVarint(out, (static_cast<uint32_t>(value) << 1) ^ static_cast<uint32_t>(value >> 31));
}

// Reads what PutVarint and PutSigned wrote; fails past the end or on a
// number too long.
struct TReader {
    const std::vector<uint8_t>& Bytes;
    size_t At = 0;
    bool Failed = false;
    uint8_t Byte()
    {
        if (At >= Bytes.size()) {
            Failed = true;
            return 0;
        }
        return Bytes[At++];
    }
    uint64_t Varint()
    {
        uint64_t value = 0;
        for (int shift = 0; shift < 64; shift += 7) {
            const uint8_t b = Byte();
            value |= uint64_t{b & 0x7Fu} << shift;
            if (!(b & 0x80)) return value;
        }
        Failed = true;
        return 0;
    }
    int32_t Signed()
    {
        const uint64_t v = Varint();
        if (v > 0xFFFFFFFFu) Failed = true;
        const uint32_t u = static_cast<uint32_t>(v);
        return static_cast<int32_t>((u >> 1) ^ (0u - (u & 1u)));
    }
};

// The settings' number boxes in the order they are written: the digit
// boxes of the places (for an operation with decimals, its decimal places'
// after the whole ones), then the answer range.
std::vector<std::string TWorksheetSettings::*> NumberBoxes(TOperation operation)
{
    std::vector<std::string TWorksheetSettings::*> boxes{
        &TWorksheetSettings::u1l, &TWorksheetSettings::u1h, &TWorksheetSettings::u2l, &TWorksheetSettings::u2h,
        &TWorksheetSettings::u3l, &TWorksheetSettings::u3h, &TWorksheetSettings::u4l, &TWorksheetSettings::u4h,
        &TWorksheetSettings::d1l, &TWorksheetSettings::d1h, &TWorksheetSettings::d2l, &TWorksheetSettings::d2h,
        &TWorksheetSettings::d3l, &TWorksheetSettings::d3h, &TWorksheetSettings::d4l, &TWorksheetSettings::d4h};
    if (RulesOf(operation).Decimal())
        boxes.insert(boxes.end(), {&TWorksheetSettings::u01l, &TWorksheetSettings::u01h, &TWorksheetSettings::u001l,
                                   &TWorksheetSettings::u001h, &TWorksheetSettings::u0001l, &TWorksheetSettings::u0001h,
                                   &TWorksheetSettings::d01l, &TWorksheetSettings::d01h, &TWorksheetSettings::d001l,
                                   &TWorksheetSettings::d001h, &TWorksheetSettings::d0001l, &TWorksheetSettings::d0001h});
    boxes.insert(boxes.end(), {&TWorksheetSettings::AnsLow, &TWorksheetSettings::AnsHigh});
    return boxes;
}

int PaperIndex(const std::string& name)
{
    for (size_t i = 0; i < std::size(kPaperSizes); ++i)
        if (name == kPaperSizes[i].Name) return static_cast<int>(i);
    return -1;
}

int FontIndex(const std::string& face)
{
    for (size_t i = 0; i < std::size(kDigitFonts); ++i)
        if (face == kDigitFonts[i].Face) return static_cast<int>(i);
    return 0;
}

// Spreads the bits over the code: a fixed sequence XORed over the block.
uint8_t Whitening(size_t i)
{
    return static_cast<uint8_t>((i * 167u + 73u) * 2654435761u >> 24);
}

void AddToCrc(uint16_t& crc, uint8_t byte)
{
    crc ^= static_cast<uint16_t>(byte << 8);
    for (int i = 0; i < 8; ++i) crc = static_cast<uint16_t>(crc & 0x8000 ? (crc << 1) ^ 0x1021 : crc << 1);
}

// CRC-16 of the bytes [begin, end).
uint16_t CrcOf(const std::vector<uint8_t>& bytes, size_t end)
{
    uint16_t crc = 0xFFFF;
    for (size_t i = 0; i < end && i < bytes.size(); ++i) AddToCrc(crc, bytes[i]);
    return crc;
}

}  // namespace

uint16_t ProblemsCheckOf(const std::vector<TSheetProblem>& problems)
{
    uint16_t crc = 0xFFFF;
    for (const TSheetProblem& p : problems)
        for (const int32_t n : {p.First, p.Second})
            for (int shift = 0; shift < 32; shift += 8) AddToCrc(crc, static_cast<uint8_t>(static_cast<uint32_t>(n) >> shift));
    return crc;
}

bool IsRecipeInRange(const TSheetRecipe& recipe)
{
    const TWorksheetSettings& s = recipe.Settings;
    return CarriesRecipe(s) && s.CellMM >= kSmallestCellMM && s.CellMM <= kLargestCellMM && s.Amari >= 0 &&
           s.Amari <= 2 && s.Kuriagari >= kmAny && s.Kuriagari <= kmTensSum2 && s.Problems >= 0 &&
           s.Problems <= kMostRecipeProblems && recipe.Number >= -kMostRecipeNumber && recipe.Number <= kMostRecipeNumber && recipe.Place >= 0 &&
           recipe.Place < kMostRecipeRoll && recipe.Roll >= 0 && recipe.Roll <= kMostRecipeRoll &&
           static_cast<uint8_t>(recipe.Kind) <= static_cast<uint8_t>(TPageKind::Key) &&
           (!recipe.FollowUp || (!recipe.Diagnostic && *recipe.FollowUp >= 0 &&
                                 static_cast<size_t>(*recipe.FollowUp) <= WrongProcedures(s.Operation).size()));
}

bool CarriesRecipe(TOperation operation)
{
    // Three bits of the code name the operation.
    return static_cast<int32_t>(operation) >= 0 && operation <= TOperation::DecimalDivision;
}

bool CarriesRecipe(const TWorksheetSettings& settings)
{
    // A decimal division's remainder and its rounded quotient are written
    // beside its cells, where the reader does not look.
    const bool besideTheCells = settings.Operation == TOperation::DecimalDivision && settings.Kuriagari > qcToTheEnd &&
                                settings.Kuriagari <= qcRoundToTwoFigures;
    return CarriesRecipe(settings.Operation) && !besideTheCells;
}

std::optional<TSheetRecipe> RecipeOf(const TSheet& sheet, const std::string& paper, TPageKind kind)
{
    if (!CarriesRecipe(sheet.Settings)) return std::nullopt;
    if (!sheet.Seed || PaperIndex(paper) < 0) return std::nullopt;
    TSheetRecipe recipe;
    recipe.Settings = sheet.Settings;
    recipe.Settings.QstSentence.clear();
    recipe.Settings.PrnNum.clear();
    try {
        for (auto box : NumberBoxes(sheet.Settings.Operation))
            recipe.Settings.*box = std::to_string(TextToInt(sheet.Settings.*box));
    } catch (const EConvertError&) {
        return std::nullopt;
    }
    if (recipe.Settings.Kuriagari < 0 || recipe.Settings.Kuriagari > kmTensSum2) recipe.Settings.Kuriagari = kmAny;
    recipe.Paper = paper;
    recipe.Seed = *sheet.Seed;
    recipe.Number = sheet.Number;
    recipe.Place = sheet.Place;
    recipe.Diagnostic = sheet.Diagnostic;
    recipe.FollowUp = sheet.FollowUp;
    recipe.Roll = sheet.Roll;
    recipe.Kind = kind;
    recipe.ProblemsCheck = ProblemsCheckOf(sheet.Problems);
    if (!IsRecipeInRange(recipe)) return std::nullopt;
    return recipe;
}

std::optional<std::vector<uint8_t>> RecipeBytes(const TSheetRecipe& recipe)
{
    const TWorksheetSettings& s = recipe.Settings;
    const int paper = PaperIndex(recipe.Paper);
    if (paper < 0 || !IsRecipeInRange(recipe)) return std::nullopt;
    // The digit boxes two to a byte where every one is 0 to 15.
    const auto boxes = NumberBoxes(s.Operation);
    const size_t digitBoxes = boxes.size() - 2;
    std::vector<int32_t> numbers;
    try {
        for (auto box : boxes) numbers.push_back(TextToInt(s.*box));
    } catch (const EConvertError&) {
        return std::nullopt;
    }
    const bool packed = std::all_of(numbers.begin(), numbers.begin() + static_cast<ptrdiff_t>(digitBoxes),
                                    [](int32_t n) { return n >= 0 && n <= 15; });
    const uint8_t version = recipe.FollowUp ? (packed ? kVersionFollowUpPacked : kVersionFollowUp)
                                            : (packed ? kVersionWholePacked : kVersionWhole);
    std::vector<uint8_t> out{static_cast<uint8_t>(version | static_cast<uint8_t>(recipe.Kind) << 4)};
    const int operation = static_cast<int>(s.Operation);
    out.push_back(static_cast<uint8_t>((operation & 3) | (recipe.Diagnostic ? 4 : 0) | (s.CarryMarks ? 8 : 0) |
                                       (s.PartialSumCarry ? 16 : 0) | (s.Waku != 0 ? 32 : 0) |
                                       (FontIndex(s.DigitFont) ? 64 : 0) | (s.QNumPattern != 0 ? 128 : 0)));
    out.push_back(static_cast<uint8_t>(paper | s.Amari << 2 | s.Kuriagari << 4 | (operation >> 2) << 7));
    out.push_back(static_cast<uint8_t>(s.CellMM));
    out.push_back(static_cast<uint8_t>(s.Problems));
    if (recipe.FollowUp) out.push_back(static_cast<uint8_t>(*recipe.FollowUp));
    for (size_t i = 0; i < numbers.size(); ++i) {
        if (packed && i < digitBoxes) {
            if (i % 2) out.back() = static_cast<uint8_t>(out.back() | numbers[i] << 4);
            else out.push_back(static_cast<uint8_t>(numbers[i]));
        } else {
            PutSigned(out, numbers[i]);
        }
    }
    for (int shift = 0; shift < 64; shift += 8) out.push_back(static_cast<uint8_t>(recipe.Seed >> shift));
    PutSigned(out, recipe.Number);
    PutVarint(out, static_cast<uint32_t>(recipe.Place));
    PutVarint(out, static_cast<uint32_t>(recipe.Roll));
    const uint16_t check = recipe.ProblemsCheck ^ CrcOf(out, out.size());
    out.push_back(static_cast<uint8_t>(check));
    out.push_back(static_cast<uint8_t>(check >> 8));
    if (out.size() > kRecipeBytes) return std::nullopt;
    return out;
}

std::optional<TSheetRecipe> RecipeFromBytes(const std::vector<uint8_t>& bytes)
{
    TReader in{bytes};
    const uint8_t first = in.Byte(), version = first & 15;
    if (version < kVersion || version > kVersionFollowUpPacked) return std::nullopt;
    const bool whole = version >= kVersionWhole, followUp = version >= kVersionFollowUp;
    const bool packed = version == kVersionPacked || version == kVersionWholePacked || version == kVersionFollowUpPacked;
    if (!whole && first >> 4) return std::nullopt;
    TSheetRecipe recipe;
    recipe.Kind = static_cast<TPageKind>(first >> 4);
    TWorksheetSettings& s = recipe.Settings;
    s.QstSentence.clear();
    s.PrnNum.clear();
    const uint8_t flags = in.Byte(), kinds = in.Byte();
    s.Operation = static_cast<TOperation>((flags & 3) | (kinds >> 7) << 2);
    recipe.Diagnostic = flags & 4;
    s.CarryMarks = flags & 8;
    s.PartialSumCarry = flags & 16;
    s.Waku = flags & 32 ? 1 : 0;
    s.DigitFont = kDigitFonts[flags & 64 ? 1 : 0].Face;
    s.QNumPattern = flags & 128 ? 1 : 0;
    if ((kinds & 3) >= static_cast<int>(std::size(kPaperSizes))) return std::nullopt;
    recipe.Paper = kPaperSizes[kinds & 3].Name;
    s.Amari = kinds >> 2 & 3;
    s.Kuriagari = kinds >> 4 & 7;
    s.CellMM = in.Byte();
    s.Problems = in.Byte();
    if (followUp) recipe.FollowUp = in.Byte();
    const auto boxes = NumberBoxes(s.Operation);
    const size_t digitBoxes = boxes.size() - 2;
    uint8_t pair = 0;
    for (size_t i = 0; i < boxes.size(); ++i) {
        if (packed && i < digitBoxes) {
            if (i % 2 == 0) pair = in.Byte();
            s.*boxes[i] = std::to_string(i % 2 ? pair >> 4 : pair & 15);
        } else {
            s.*boxes[i] = std::to_string(in.Signed());
        }
    }
    for (int shift = 0; shift < 64; shift += 8) recipe.Seed |= uint64_t{in.Byte()} << shift;
    recipe.Number = in.Signed();
    const uint64_t place = in.Varint(), roll = in.Varint();
    if (place > 0x7FFFFFFF || roll > 0x7FFFFFFF) return std::nullopt;
    recipe.Place = static_cast<int32_t>(place);
    recipe.Roll = static_cast<int32_t>(roll);
    const size_t checked = in.At;
    const uint8_t low = in.Byte(), high = in.Byte();
    recipe.ProblemsCheck = static_cast<uint16_t>(low | high << 8);
    if (whole) recipe.ProblemsCheck ^= CrcOf(bytes, checked);
    if (in.Failed || in.At != bytes.size() || !IsRecipeInRange(recipe)) return std::nullopt;
    return recipe;
}

std::optional<std::vector<bool>> CodeModules(const TSheetRecipe& recipe)
{
    const std::optional<std::vector<uint8_t>> payload = RecipeBytes(recipe);
    if (!payload) return std::nullopt;
    std::vector<uint8_t> block{static_cast<uint8_t>(payload->size())};
    block.insert(block.end(), payload->begin(), payload->end());
    block.resize(kBlockBytes - kParity, 0);
    const std::vector<uint8_t> parity = ReedSolomonParity(block, kParity);
    block.insert(block.end(), parity.begin(), parity.end());
    std::vector<bool> modules(static_cast<size_t>(kCodeModules * kCodeModules), false);
    for (int row = 0; row < kCodeModules; ++row)
        for (int column = 0; column < kCodeModules; ++column) {
            const size_t at = static_cast<size_t>(row * kCodeModules + column);
            if (row == 0 || column == 0 || row == kCodeModules - 1 || column == kCodeModules - 1) {
                modules[at] = true;
                continue;
            }
            // The modules after the block's last bit stay white.
            const size_t bit = static_cast<size_t>((row - 1) * kDataModules + column - 1);
            if (bit >= block.size() * 8) continue;
            modules[at] = ((block[bit / 8] ^ Whitening(bit / 8)) >> (7 - bit % 8)) & 1;
        }
    return modules;
}

std::optional<TSheetRecipe> RecipeFromModules(const std::vector<bool>& modules)
{
    if (modules.size() != static_cast<size_t>(kCodeModules * kCodeModules)) return std::nullopt;
    std::vector<uint8_t> block(kBlockBytes, 0);
    for (int row = 1; row < kCodeModules - 1; ++row)
        for (int column = 1; column < kCodeModules - 1; ++column) {
            const size_t bit = static_cast<size_t>((row - 1) * kDataModules + column - 1);
            if (bit >= block.size() * 8) continue;
            if (modules[static_cast<size_t>(row * kCodeModules + column)]) block[bit / 8] |= static_cast<uint8_t>(0x80 >> (bit % 8));
        }
    for (size_t i = 0; i < block.size(); ++i) block[i] ^= Whitening(i);
    const std::optional<std::vector<uint8_t>> corrected = ReedSolomonCorrect(block, kParity);
    if (!corrected || (*corrected)[0] == 0 || (*corrected)[0] > kRecipeBytes) return std::nullopt;
    const std::vector<uint8_t> payload(corrected->begin() + 1, corrected->begin() + 1 + (*corrected)[0]);
    return RecipeFromBytes(payload);
}
