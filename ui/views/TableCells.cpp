// A result table kept compactly, its rows filled into the grid when they are made, and the
// widths of its columns from the few texts that can be the widest.
#include "ui/views/TableCells.h"

#include "controls/grid/GridCellNumeric.h"
#include "controls/grid/GridCtrl.h"
#include "platform/gui/draw/LocaleNumberWriter.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cwchar>
#include <memory>
#include <new>

namespace {

// The text with every digit (ASCII or the locale's own) made '0'.
std::wstring DigitShape(const CString& text, const CString& nativeDigits)
{
    std::wstring shape(text.GetString());
    for (wchar_t& ch : shape)
        if ((ch >= L'0' && ch <= L'9') || nativeDigits.Find(ch) >= 0) ch = L'0';
    return shape;
}

// Measures texts as the cells of one kind (fixed or not, a format) measure theirs.
class CMeasure
{
public:
    CMeasure(CGridCtrl& grid, CDC* pDC, DWORD nState, DWORD nFormat, const CString& nativeDigits) : m_pDC(pDC)
    {
        m_Cell.SetGrid(&grid);
        m_Cell.SetState(nState);
        m_Cell.SetFormat(nFormat);
        // The widest of the digits the numbers are written with.
        int widest = -1;
        for (int i = 0; i < nativeDigits.GetLength(); i++)
        {
            const int cx = static_cast<int>(m_Cell.GetTextExtent(CString(nativeDigits[i]), pDC).cx);
            if (cx > widest)
            {
                widest = cx;
                m_chWidest = nativeDigits[i];
            }
        }
        for (int i = 0; i < 10; i++)
        {
            const int cx = static_cast<int>(m_Cell.GetTextExtent(CString(static_cast<wchar_t>(L'0' + i)), pDC).cx);
            if (cx > widest)
            {
                widest = cx;
                m_chWidest = static_cast<wchar_t>(L'0' + i);
            }
        }
    }
    // The extent of the text with each of its digits the widest digit.
    int WidthOfShape(const std::wstring& shape)
    {
        std::wstring text(shape);
        for (wchar_t& ch : text)
            if (ch == L'0') ch = m_chWidest;
        return Width(CString(text.c_str()));
    }
    int Width(const CString& text)
    {
        if (text.IsEmpty()) return 0;
        m_Cell.SetText(text);
        return static_cast<int>(m_Cell.GetCellExtent(m_pDC).cx);
    }

private:
    CGridCell m_Cell;
    CDC* m_pDC;
    wchar_t m_chWidest = L'0';
};

} // namespace

void CTableCells::Reset(int nRows, int nCols, bool bNumeric)
{
    m_nRows = std::max(0, nRows);
    m_nCols = std::max(0, nCols);
    m_bNumeric = bNumeric;
    m_bRowNumbers = false;
    m_vCaptions.assign(static_cast<std::size_t>(m_nCols), CString());
    m_mapRowHeadings.clear();
    const std::size_t nCells =
        m_nRows > 1 && m_nCols > 1 ? static_cast<std::size_t>(m_nRows - 1) * static_cast<std::size_t>(m_nCols - 1) : 0;
    static_assert(Blank == 0, "a cell of zeroed memory is blank");
    m_vKinds.reset();
    m_vValues.reset();
    m_nCells = 0;
    if (nCells > 0)
    {
        m_vKinds.reset(static_cast<EKind*>(std::calloc(nCells, sizeof(EKind))));
        m_vValues.reset(static_cast<double*>(std::malloc(nCells * sizeof(double))));
        if (!m_vKinds || !m_vValues)
        {
            m_vKinds.reset();
            m_vValues.reset();
            throw std::bad_alloc();
        }
        m_nCells = nCells;
    }
    m_vTexts.clear();
    m_mapTextIndex.clear();
    m_vColumns.assign(static_cast<std::size_t>(m_nCols), SColumn());
}

void CTableCells::SetHeading(int nRow, int nCol, const CString& text)
{
    if (nRow == 0 && nCol >= 0 && nCol < m_nCols)
        m_vCaptions[static_cast<std::size_t>(nCol)] = text;
    else if (nCol == 0 && nRow > 0 && nRow < m_nRows)
        m_mapRowHeadings[nRow] = text;
}

void CTableCells::SetNumber(int nRow, int nCol, double value)
{
    // Only a numeric cell takes a number.
    if (!m_bNumeric || !IsDataCell(nRow, nCol)) return;
    const std::size_t i = Index(nRow, nCol);
    if (m_vKinds[i] == Text || m_vKinds[i] == Label) return;
    m_vKinds[i] = Number;
    m_vValues[i] = value;
    // A value that is no finite number shows no text.
    if (!std::isfinite(value)) return;
    SColumn& column = m_vColumns[static_cast<std::size_t>(nCol)];
    column.min = column.hasNumber ? std::min(column.min, value) : value;
    column.max = column.hasNumber ? std::max(column.max, value) : value;
    column.hasNumber = true;
}

std::uint32_t CTableCells::Intern(const CString& text)
{
    const std::wstring key(text.GetString());
    auto it = m_mapTextIndex.find(key);
    if (it != m_mapTextIndex.end()) return it->second;
    const auto index = static_cast<std::uint32_t>(m_vTexts.size());
    m_vTexts.push_back(text);
    m_mapTextIndex.emplace(key, index);
    return index;
}

void CTableCells::SetText(int nRow, int nCol, const CString& text)
{
    if (!IsDataCell(nRow, nCol)) return;
    const std::size_t i = Index(nRow, nCol);
    SColumn& column = m_vColumns[static_cast<std::size_t>(nCol)];
    m_vKinds[i] = Text;
    if (column.lastIndex != std::numeric_limits<std::uint32_t>::max() && text == column.lastText)
    {
        m_vValues[i] = static_cast<double>(column.lastIndex);
        return;
    }
    column.lastIndex = Intern(text);
    column.lastText = text;
    m_vValues[i] = static_cast<double>(column.lastIndex);
    if (!text.IsEmpty())
    {
        static const CString digits = qor::grid::NativeDigits();
        column.shapes.insert(DigitShape(text, digits));
    }
}

void CTableCells::SetLabel(int nRow, int nCol, const CString& prefix, int number)
{
    if (!IsDataCell(nRow, nCol)) return;
    SColumn& column = m_vColumns[static_cast<std::size_t>(nCol)];
    if (column.labelMost < 0)
        column.labelPrefix = prefix;
    else if (prefix != column.labelPrefix)
        return SetText(nRow, nCol, LabelOf(prefix, number));
    const std::size_t i = Index(nRow, nCol);
    m_vKinds[i] = Label;
    m_vValues[i] = number;
    column.labelMost = std::max(column.labelMost, number);
}

CString CTableCells::LabelOf(const CString& prefix, int number)
{
    CString text;
    text.Format(L"%s%d", prefix.GetString(), number);
    return text;
}

CString CTableCells::LabelText(int nCol, std::size_t i) const
{
    return LabelOf(m_vColumns[static_cast<std::size_t>(nCol)].labelPrefix, static_cast<int>(m_vValues[i]));
}

void CTableCells::FillRow(CGridCtrl& grid, int nRow) const
{
    if (nRow < 0 || nRow >= m_nRows) return;
    const DWORD nPlainFormat = grid.GetDefaultCell(FALSE, FALSE)->GetFormat();
    auto heading = [&](int nCol, const CString& text) {
        CGridCellBase* pCell = grid.GetCell(nRow, nCol);
        if (!pCell) return;
        // A table built all at once made its cells before the headings were fixed: they keep
        // the plain cells' format until a heading is written.
        pCell->SetFormat(nPlainFormat);
        if (text.IsEmpty() && nRow > 0 && nCol == 0) return;
        if (nRow == 0 && text.IsEmpty()) return;
        pCell->SetText(text);
        grid.SetModified(nRow, nCol);
        pCell->SetFormat(DT_CENTER);
    };

    if (nRow == 0)
    {
        for (int col = 0; col < m_nCols; col++) heading(col, m_vCaptions[static_cast<std::size_t>(col)]);
        return;
    }

    auto it = m_mapRowHeadings.find(nRow);
    if (it != m_mapRowHeadings.end())
        heading(0, it->second);
    else if (m_bRowNumbers)
    {
        CString number;
        number.Format(L"%d", nRow);
        heading(0, number);
    }
    else
        heading(0, CString());

    for (int col = 1; col < m_nCols; col++)
    {
        if (m_bNumeric && grid.SetCellType(nRow, col, RUNTIME_CLASS(CGridCellNumeric)))
        {
            auto* pCell = static_cast<CGridCellNumeric*>(grid.GetCell(nRow, col));
            pCell->SetFormat(kNumberFormat);
            pCell->SetFlags(kNumericFlags);
        }
        const std::size_t i = Index(nRow, col);
        if (m_vKinds[i] == Number)
        {
            if (auto* pCell = dynamic_cast<CGridCellNumeric*>(grid.GetCell(nRow, col))) pCell->SetNumber(m_vValues[i]);
        }
        else if ((m_vKinds[i] == Text || m_vKinds[i] == Label) && grid.SetCellType(nRow, col, RUNTIME_CLASS(CGridCell)))
        {
            CGridCellBase* pCell = grid.GetCell(nRow, col);
            pCell->SetFormat(kTextFormat);
            pCell->SetText(m_vKinds[i] == Text ? m_vTexts[static_cast<std::size_t>(m_vValues[i])] : LabelText(col, i));
        }
    }
}

struct CTableCells::SMeasures
{
    SMeasures(CGridCtrl& grid, CDC* pDC)
        : digits(qor::grid::NativeDigits()), captions(grid, pDC, GVIS_FIXED | GVIS_FIXEDROW, DT_CENTER, digits),
          corner(grid, pDC, GVIS_FIXED | GVIS_FIXEDROW | GVIS_FIXEDCOL, DT_CENTER, digits),
          rowHeadings(grid, pDC, GVIS_FIXED | GVIS_FIXEDCOL, DT_CENTER, digits),
          numbers(grid, pDC, 0, kNumberFormat, digits), texts(grid, pDC, 0, kTextFormat, digits)
    {
        formatter.SetFlags(kNumericFlags);
    }
    CString digits;
    CMeasure captions, corner, rowHeadings, numbers, texts;
    CGridCellNumeric formatter;
};

int CTableCells::Width(SMeasures& m, int nCol, bool bCaption, bool bData) const
{
    int width = bCaption ? (nCol == 0 ? m.corner : m.captions).Width(m_vCaptions[static_cast<std::size_t>(nCol)]) : 0;
    if (!bData) return width;
    if (nCol == 0)
    {
        // The row numbers: the last has the most digits.
        if (m_bRowNumbers && m_nRows > 1)
        {
            CString last;
            last.Format(L"%d", m_nRows - 1);
            width = std::max(width, m.rowHeadings.WidthOfShape(DigitShape(last, m.digits)));
        }
        for (const auto& [row, text] : m_mapRowHeadings) width = std::max(width, m.rowHeadings.Width(text));
        return width;
    }
    const SColumn& column = m_vColumns[static_cast<std::size_t>(nCol)];
    if (column.hasNumber)
    {
        // Of a sign, the number with the most digits is the one furthest from 0.
        for (double value : {column.min, column.max})
        {
            m.formatter.SetNumber(value);
            width = std::max(width, m.numbers.WidthOfShape(DigitShape(m.formatter.GetText(), m.digits)));
        }
    }
    for (const std::wstring& shape : column.shapes) width = std::max(width, m.texts.WidthOfShape(shape));
    // The labels: the largest number has the most digits.
    if (column.labelMost >= 0)
        width =
            std::max(width, m.texts.WidthOfShape(DigitShape(LabelOf(column.labelPrefix, column.labelMost), m.digits)));
    return width;
}

std::vector<int> CTableCells::TextWidths(CGridCtrl& grid, CDC* pDC) const
{
    std::vector<int> widths(static_cast<std::size_t>(m_nCols), 0);
    if (!pDC) return widths;
    SMeasures measures(grid, pDC);
    for (int col = 0; col < m_nCols; col++) widths[static_cast<std::size_t>(col)] = Width(measures, col, true, true);
    return widths;
}

int CTableCells::TextWidth(CGridCtrl& grid, CDC* pDC, int nCol, int nFirstRow, int nLastRow) const
{
    if (!pDC || nCol < 0 || nCol >= m_nCols || nFirstRow < 0 || nFirstRow > 1 || nFirstRow > nLastRow) return -1;
    const bool bData = nLastRow >= 1;
    if (bData && nLastRow != m_nRows - 1) return -1;
    SMeasures measures(grid, pDC);
    return Width(measures, nCol, nFirstRow == 0, bData);
}

CString CTableCells::CellText(int nRow, int nCol) const
{
    if (nRow < 0 || nRow >= m_nRows || nCol < 0 || nCol >= m_nCols) return CString();
    if (nRow == 0) return m_vCaptions[static_cast<std::size_t>(nCol)];
    if (nCol == 0)
    {
        auto it = m_mapRowHeadings.find(nRow);
        if (it != m_mapRowHeadings.end()) return it->second;
        CString number;
        if (m_bRowNumbers) number.Format(L"%d", nRow);
        return number;
    }
    const std::size_t i = Index(nRow, nCol);
    if (m_vKinds[i] == Text) return m_vTexts[static_cast<std::size_t>(m_vValues[i])];
    if (m_vKinds[i] == Label) return LabelText(nCol, i);
    if (m_vKinds[i] != Number || !std::isfinite(m_vValues[i])) return CString();
    const double value = m_vValues[i];
    // A numeric cell writes the number with nine decimals, checks that text and puts it in the
    // locale's number format. The check leaves such a text as it is, but for a minus sign other
    // than the locale's: then the cell itself says what it shows (empty where it shows nothing).
    if (value >= 0 || qor::grid::LocaleChar(LOCALE_SNEGATIVESIGN, L'-') == L'-')
    {
        wchar_t plain[400];
        wchar_t shown[256];
        if (std::swprintf(plain, 400, L"%.9f", value) > 0 &&
            ::GetNumberFormatW(LOCALE_USER_DEFAULT, 0, plain, nullptr, shown, 256) > 0)
            return CString(shown);
        return CString();
    }
    thread_local CGridCellNumeric formatter;
    formatter.SetFlags(kNumericFlags);
    return formatter.SetNumber(value) ? CString(formatter.GetText()) : CString();
}

struct CTableCells::SWriter
{
    qor::gui::LocaleNumberWriter numbers;
    // Whether a negative number is written as the locale's number format has it; where the
    // locale's minus is another sign, the numeric cell says what it shows.
    bool bMinusSign = true;
    std::vector<std::string> captions;
    std::vector<std::string> texts;
    std::vector<std::string> labelPrefixes; // by column
};

std::function<void(int nRow, int nCol, std::string& out)> CTableCells::TextWriter() const
{
    auto writer = std::make_shared<SWriter>();
    writer->bMinusSign = qor::grid::LocaleChar(LOCALE_SNEGATIVESIGN, L'-') == L'-';
    for (const CString& caption : m_vCaptions) writer->captions.push_back(caption.ToUtf8());
    for (const CString& text : m_vTexts) writer->texts.push_back(text.ToUtf8());
    for (const SColumn& column : m_vColumns) writer->labelPrefixes.push_back(column.labelPrefix.ToUtf8());
    return [this, writer](int nRow, int nCol, std::string& out) { AppendCellText(*writer, nRow, nCol, out); };
}

void CTableCells::AppendCellText(const SWriter& writer, int nRow, int nCol, std::string& out) const
{
    if (nRow < 0 || nRow >= m_nRows || nCol < 0 || nCol >= m_nCols) return;
    if (nRow == 0)
    {
        out += writer.captions[static_cast<std::size_t>(nCol)];
        return;
    }
    if (nCol == 0)
    {
        auto it = m_mapRowHeadings.find(nRow);
        if (it != m_mapRowHeadings.end())
            out += it->second.ToUtf8();
        else if (m_bRowNumbers)
        {
            char number[16];
            out.append(number, std::to_chars(number, number + sizeof number, nRow).ptr);
        }
        return;
    }
    const std::size_t i = Index(nRow, nCol);
    if (m_vKinds[i] == Text)
        out += writer.texts[static_cast<std::size_t>(m_vValues[i])];
    else if (m_vKinds[i] == Label)
    {
        out += writer.labelPrefixes[static_cast<std::size_t>(nCol)];
        char number[16];
        out.append(number, std::to_chars(number, number + sizeof number, static_cast<int>(m_vValues[i])).ptr);
    }
    else if (m_vKinds[i] == Number && std::isfinite(m_vValues[i]))
    {
        if (m_vValues[i] >= 0 || writer.bMinusSign)
            writer.numbers.Append(m_vValues[i], out);
        else
            out += CellText(nRow, nCol).ToUtf8();
    }
}

std::size_t CTableCells::GetBytes() const
{
    std::size_t bytes = m_nCells * (sizeof(EKind) + sizeof(double));
    for (const CString& text : m_vTexts) bytes += sizeof(CString) + 2 * sizeof(wchar_t) * text.GetLength();
    return bytes;
}
