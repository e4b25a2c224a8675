// The five lookup record layouts the conduit writes to the handheld, with paired pack and unpack
// functions. Every record is its fixed header followed by one handheld text and its NUL, without
// padding; its length is header + text + 1. Records are built in a zero-filled 32-byte work
// buffer, so a text is cut to what fits beside its header.
//
// Accounts record ("Qlmr-Accounts"):     Expense-type record ("Qlmr-ExpTypes"):
//   OFFSET  SIZE  DESCRIPTION              OFFSET  SIZE  DESCRIPTION
//        0   n+1  AcctCode and NUL              0     2  ExpType, unsigned
//                                               2     1  ExpComp: 0 built-in, 1 ordinary,
//                                                        2 reimbursable
//                                               3   n+1  ExpLabel and NUL
//
// Category record ("Qlmr-Categories"):  Project record ("Qlmr-Projects"):
//   OFFSET  SIZE  DESCRIPTION              OFFSET  SIZE  DESCRIPTION
//        0     2  ExpType of the category       0     4  ProjectID
//        2   n+1  ExpCat and NUL                4   n+1  ProjectName and NUL
//
// Filter record ("Qlmr-ExpFilter"):
//   OFFSET  SIZE  DESCRIPTION
//        0     2  kind: an expense type number, or 0xFFFE for a project
//        2     4  0 for an expense type, the ProjectID for a project
//        6   n+1  label and NUL
//
// All numbers big-endian. Texts here are handheld texts (Windows-1252, see HandheldText.h).
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace hh {

inline constexpr std::size_t kRecordBufferSize = 32;      // the work buffer every record fits
inline constexpr std::size_t kExpTypeHeaderSize = 3;
inline constexpr std::size_t kCategoryHeaderSize = 2;
inline constexpr std::size_t kProjectHeaderSize = 4;
inline constexpr std::size_t kFilterHeaderSize = 6;

// The longest text each record can carry in the work buffer (header + text + NUL <= 32).
inline constexpr std::size_t kMaxAccountChars = kRecordBufferSize - 1;                         // 31
inline constexpr std::size_t kMaxExpTypeLabelChars = kRecordBufferSize - kExpTypeHeaderSize - 1; // 28
inline constexpr std::size_t kMaxCategoryChars = kRecordBufferSize - kCategoryHeaderSize - 1;    // 29
inline constexpr std::size_t kMaxProjectNameChars = kRecordBufferSize - kProjectHeaderSize - 1;  // 27
inline constexpr std::size_t kMaxFilterLabelChars = kRecordBufferSize - kFilterHeaderSize - 1;   // 25

using RecordBuffer = std::uint8_t[kRecordBufferSize];

// Each pack zero-fills the buffer, lays out the record (the text cut to its maximum, and at its
// first NUL) and returns the record's length.
std::size_t PackAccountRecord(RecordBuffer& buffer, std::string_view code);
std::size_t PackExpTypeRecord(RecordBuffer& buffer, std::uint16_t type, std::uint8_t comp, std::string_view label);
std::size_t PackCategoryRecord(RecordBuffer& buffer, std::uint16_t type, std::string_view category);
std::size_t PackProjectRecord(RecordBuffer& buffer, std::uint32_t id, std::string_view name);
std::size_t PackFilterRecord(RecordBuffer& buffer, std::uint16_t kind, std::uint32_t id, std::string_view label);

// Records read back (for checks and the handheld tool's dump). Each text is a view into the
// record: up to its NUL, or to the record's end when the NUL is missing.
struct HHAccountRecord {
    std::string_view code;        // AcctCode
};
struct HHExpTypeRecord {
    std::uint16_t type = 0;       // ExpType
    std::uint8_t comp = 0;        // ExpComp
    std::string_view label;       // ExpLabel
};
struct HHCategoryRecord {
    std::uint16_t type = 0;       // ExpType the category belongs to
    std::string_view category;    // ExpCat
};
struct HHProjectRecord {
    std::uint32_t id = 0;         // ProjectID
    std::string_view name;        // ProjectName
};
struct HHFilterRecord {
    std::uint16_t kind = 0;       // expense type number or 0xFFFE
    std::uint32_t id = 0;         // 0 or the ProjectID
    std::string_view label;       // label
};

// Each unpack is false when the record is shorter than its header.
[[nodiscard]] bool UnpackAccountRecord(std::span<const std::uint8_t> record, HHAccountRecord& out);
[[nodiscard]] bool UnpackExpTypeRecord(std::span<const std::uint8_t> record, HHExpTypeRecord& out);
[[nodiscard]] bool UnpackCategoryRecord(std::span<const std::uint8_t> record, HHCategoryRecord& out);
[[nodiscard]] bool UnpackProjectRecord(std::span<const std::uint8_t> record, HHProjectRecord& out);
[[nodiscard]] bool UnpackFilterRecord(std::span<const std::uint8_t> record, HHFilterRecord& out);

// The text at the start of bytes: up to its NUL or the end. Never reads past bytes.
std::string_view TextAt(std::span<const std::uint8_t> bytes);

}  // namespace hh
