// HHExpense: one expense as the handheld records it in "Qlmr-Expenses", and the paired unpack
// (what the conduit reads) and pack (what the handheld application, or the handheld tool, writes).
// The record's texts are Windows-1252; an HHExpense holds them as desktop (UTF-8) text, decoded
// once when a record is unpacked and encoded when one is packed.
//
// Expense record (at most 256 bytes; numbers big-endian):
//
//   OFFSET  SIZE  DESCRIPTION
//        0     2  expense type number
//        2     4  date, unsigned, the decimal number YYYYMMDD
//        6     4  amount, unsigned, in hundredths of the currency unit
//       10     4  project id, 0 when none
//       14     1  TypeComp: the ExpComp code (0, 1, 2) of the type as the handheld recorded it
//       15     1  reimbursement flag: 0 not reimbursed, anything else reimbursed
//       16     …  six Windows-1252 texts, each ended by NUL, one after the other: item,
//                 category, vendor, account code, cheque number, detail
//
// A record whose six texts are all empty is 22 bytes long.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace hh {

inline constexpr std::size_t kExpenseBufferSize = 256;   // the largest expense record
inline constexpr std::size_t kExpenseHeaderSize = 16;    // the numbers before the texts
inline constexpr std::size_t kExpenseTextCount = 6;      // item .. detail

struct HHExpense {
    std::uint16_t wExpType = 0;     // expense type number
    std::uint32_t dwDate = 0;       // YYYYMMDD as a number
    std::uint32_t dwAmount = 0;     // hundredths
    std::uint32_t dwProjectID = 0;  // 0 = no project
    std::uint8_t bExpComp = 0;      // ExpComp code of the type
    std::uint8_t bReimburse = 0;    // nonzero = reimbursed
    std::string item;               // item name (desktop text, as are the five below)
    std::string category;           // category of the type
    std::string vendor;             // vendor
    std::string account;            // account code it was paid with
    std::string checkNumber;        // cheque number
    std::string detail;             // description
};

// Why a record of size bytes cannot be an expense, or an empty text when it can: it must fit the
// 256-byte buffer and hold the 16-byte header and the six texts, each with its NUL (only a record
// that fills all 256 bytes may end its last text without one). record holds its bytes when it
// fits.
std::string CheckExpenseRecord(std::size_t size, std::span<const std::uint8_t> record);

// Reads a record. Numbers missing from a record shorter than 16 bytes read as 0; each text runs
// to its NUL or, when the NUL is missing, to the end of the record, and texts that begin past
// the end are empty. Nothing beyond record is read. out's strings are reused.
void UnpackExpense(std::span<const std::uint8_t> record, HHExpense& out);

// Lays out a record in buffer and returns its length; 0 when it would not fit in buffer (or in
// kExpenseBufferSize) or a text holds a NUL. A character Windows-1252 lacks is written as '?'.
// Nothing is written to buffer when 0 is returned.
std::size_t PackExpense(const HHExpense& expense, std::span<std::uint8_t> buffer);

}  // namespace hh
