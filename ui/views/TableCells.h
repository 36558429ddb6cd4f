// CTableCells: what a result table shows, kept compactly (a number or a text per cell, the
// captions, the row numbers) for a grid whose rows are made when they are first shown. It fills
// a row's cells exactly as a table built cell by cell would have them, and gives the width of
// each column's widest text without formatting or measuring every cell.
//
//     cells.Reset(rows, cols, true);         // rows and columns with the fixed ones
//     cells.SetHeading(0, 1, L"x Beam");     // caption
//     cells.SetRowNumbers();                 // column 0 numbers the data rows
//     cells.SetNumber(1, 1, 0.25);
//     grid.SetRowMaker([&](int r) { cells.FillRow(grid, r); });
#pragma once

#include "platform/gui/Afx.h"

#include <cstdint>
#include <cstdlib>
#include <functional>
#include <limits>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

class CGridCtrl;

class CTableCells
{
public:
    // Cell formats of the result tables: centred numbers and left-aligned texts, one line,
    // no prefix, an ellipsis where they are cut.
    static constexpr DWORD kNumberFormat = 0x8825;
    static constexpr DWORD kTextFormat = 0x8824;
    // Numeric cells take decimals and negative numbers.
    static constexpr int kNumericFlags = 1 | 4;

    // An empty table of nRows x nCols (the caption row and the row-number column included);
    // with bNumeric every data cell is a numeric cell.
    void Reset(int nRows, int nCols, bool bNumeric);
    void SetNumericData(bool bNumeric) { m_bNumeric = bNumeric; }
    // A centred caption (row 0) or row heading (column 0).
    void SetHeading(int nRow, int nCol, const CString& text);
    // Column 0 of every data row reads its row number.
    void SetRowNumbers() { m_bRowNumbers = true; }
    // A number in a data cell, shown in the locale's number format.
    void SetNumber(int nRow, int nCol, double value);
    // A left-aligned text in a data cell.
    void SetText(int nRow, int nCol, const CString& text);
    // A left-aligned text in a data cell that is a prefix and a number ("Point 12"), kept as the number:
    // a million labels hold no million texts. A column's labels share one prefix (another one is kept as
    // a text).
    void SetLabel(int nRow, int nCol, const CString& prefix, int number);
    // The text of such a label.
    static CString LabelOf(const CString& prefix, int number);

    // Gives the grid's row nRow (its cells just made) what the table holds for it.
    void FillRow(CGridCtrl& grid, int nRow) const;
    // The width of each column's widest text, as the cells would measure it on pDC; 0 for a
    // column without text. A number is as wide as the number of its column with the most
    // digits, each digit as wide as the font's widest: the very width where the font's digits
    // are all alike, a width that fits every cell where they are not.
    std::vector<int> TextWidths(CGridCtrl& grid, CDC* pDC) const;
    // The same width of one column over rows nFirstRow..nLastRow, which must be the caption row,
    // the data rows or both; -1 for other rows.
    int TextWidth(CGridCtrl& grid, CDC* pDC, int nCol, int nFirstRow, int nLastRow) const;
    // The text the cell shows once its row is made (read only: it may be called on any thread
    // while the table does not change).
    CString CellText(int nRow, int nCol) const;
    // What appends the UTF-8 bytes of CellText(nRow, nCol) to out, for a copy or a save of many
    // cells: the locale read once, now, and no text made a cell. Read only, as CellText.
    std::function<void(int nRow, int nCol, std::string& out)> TextWriter() const;

    // The number a data cell holds; NaN where it holds none.
    double GetNumber(int nRow, int nCol) const
    {
        return IsDataCell(nRow, nCol) && m_vKinds[Index(nRow, nCol)] == Number
                   ? m_vValues[Index(nRow, nCol)]
                   : std::numeric_limits<double>::quiet_NaN();
    }

    int GetRowCount() const { return m_nRows; }
    int GetColumnCount() const { return m_nCols; }
    // The bytes the table holds.
    std::size_t GetBytes() const;

private:
    enum EKind : std::uint8_t
    {
        Blank,
        Number,
        Text,
        Label // the column's label prefix and the number in m_vValues
    };
    struct SColumn
    {
        bool hasNumber = false;
        double min = 0, max = 0;
        // The column's texts, each digit made '0': texts that differ only in their digits are
        // measured once.
        std::unordered_set<std::wstring> shapes;
        // The last text set, and its index: a column of a few texts repeated over many rows (load models'
        // names) looks each up once a run.
        CString lastText;
        std::uint32_t lastIndex = std::numeric_limits<std::uint32_t>::max();
        // The prefix of the column's labels and the largest number labelled (-1: none).
        CString labelPrefix;
        int labelMost = -1;
    };
    CString LabelText(int nCol, std::size_t i) const;
    std::size_t Index(int nRow, int nCol) const
    {
        return static_cast<std::size_t>(nRow - 1) * static_cast<std::size_t>(m_nCols - 1) +
               static_cast<std::size_t>(nCol - 1);
    }
    bool IsDataCell(int nRow, int nCol) const { return nRow >= 1 && nRow < m_nRows && nCol >= 1 && nCol < m_nCols; }
    std::uint32_t Intern(const CString& text);
    // What measures the texts of each kind of cell.
    struct SMeasures;
    int Width(SMeasures& measures, int nCol, bool bCaption, bool bData) const;
    // What a text writer holds for its job.
    struct SWriter;
    void AppendCellText(const SWriter& writer, int nRow, int nCol, std::string& out) const;

    int m_nRows = 0;
    int m_nCols = 0;
    bool m_bNumeric = false;
    bool m_bRowNumbers = false;
    std::vector<CString> m_vCaptions;        // row 0, by column
    std::map<int, CString> m_mapRowHeadings; // column 0 where a row has a heading of its own
    // The data cells, row by row: what each holds, and a number or the index of a text. Allocated, not
    // written, when the table is made (a million rows are some 150 MB, whose pages the system gives only
    // as the rows are filled): a kind starts Blank (0), a value is read only where the kind says.
    struct SFree
    {
        void operator()(void* p) const { std::free(p); }
    };
    std::unique_ptr<EKind[], SFree> m_vKinds;
    std::unique_ptr<double[], SFree> m_vValues;
    std::size_t m_nCells = 0;
    std::vector<CString> m_vTexts;
    std::unordered_map<std::wstring, std::uint32_t> m_mapTextIndex;
    std::vector<SColumn> m_vColumns;
};
