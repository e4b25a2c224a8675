// CReportColumn: one column of a report: where it sits in the body (offset from the body's left
// edge and width, in device units), its head text and whether its cells are right-aligned.
#pragma once

#include <string>

struct CReportColumn {
    static constexpr int kLeft = 0;
    static constexpr int kRight = 2;

    std::string m_strHead;
    int m_x = 0;
    int m_nWidth = 0;
    int m_nFlags = kLeft;
};
