#include "catalogue/ListGrid.h"

#include "platform/RuntimeError.h"

namespace ztgl {
namespace {

// The grid's own error for a row or column outside it.
constexpr int kBadIndex = 381;

RuntimeError badIndex() {
    return RuntimeError(kBadIndex, QStringLiteral("无效的行或列下标"));
}

}  // namespace

ListGrid::ListGrid() : m_cells(1) {}

int ListGrid::textWidth(const QString& text, const TextWidth& advance) {
    const qsizetype blanks = text.count(QLatin1Char(' '));
    const int rest = blanks == text.size() ? 0 : advance(QString(text).remove(QLatin1Char(' ')));
    return rest + int(blanks) * advance(QStringLiteral("中")) / 2;
}

void ListGrid::addListener(Listener* listener) {
    if (!m_listeners.contains(listener))
        m_listeners.push_back(listener);
}

void ListGrid::removeListener(Listener* listener) {
    m_listeners.removeAll(listener);
}

void ListGrid::setFormatString(const QString& format, const TextWidth& width) {
    notify([](Listener* l) { l->gridAboutToReset(); });
    m_format = format;
    const QStringList segments = format.split(QLatin1Char('|'));
    QStringList header;
    m_aligns.clear();
    m_widths.clear();
    for (const QString& seg : segments) {
        Align align = Align::General;
        QString text = seg;
        if (!seg.isEmpty()) {
            switch (seg.front().unicode()) {
                case '<':
                    align = Align::Left;
                    break;
                case '^':
                    align = Align::Center;
                    break;
                case '>':
                    align = Align::Right;
                    break;
                default:
                    break;
            }
            if (align != Align::General)
                text = seg.mid(1);
        }
        header << text;
        m_aligns << align;
        m_widths << (width ? textWidth(text, width) : 0);
    }
    m_cells = {header};
    m_row = 0;
    notify([](Listener* l) { l->gridReset(); });
}

void ListGrid::setRows(int rows) {
    rows = qMax(1, rows);
    const int old = Rows();
    if (rows > old) {
        notify([&](Listener* l) { l->rowsAboutToBeInserted(old, rows - 1); });
        m_cells.resize(rows);
        for (int r = old; r < rows; ++r) {
            m_cells[r] = QStringList();
            m_cells[r].reserve(Cols());
            for (int c = 0; c < Cols(); ++c)
                m_cells[r] << QString();
        }
        notify([](Listener* l) { l->rowsInserted(); });
    } else if (rows < old) {
        notify([&](Listener* l) { l->rowsAboutToBeRemoved(rows, old - 1); });
        m_cells.resize(rows);
        notify([](Listener* l) { l->rowsRemoved(); });
        if (m_row >= rows) {
            m_row = rows - 1;
            notify([&](Listener* l) { l->currentRowChanged(m_row); });
        }
    }
}

int ListGrid::addRow() {
    setRows(Rows() + 1);
    return Rows() - 1;
}

void ListGrid::checkRow(int row) const {
    if (row < 0 || row >= Rows())
        throw badIndex();
}

void ListGrid::checkCol(int col) const {
    if (col < 0 || col >= Cols())
        throw badIndex();
}

QString ListGrid::TextMatrix(int row, int col) const {
    checkRow(row);
    checkCol(col);
    return m_cells[row].value(col);
}

void ListGrid::setTextMatrix(int row, int col, const QString& text) {
    checkRow(row);
    checkCol(col);
    if (m_cells[row][col] == text)
        return;
    m_cells[row][col] = text;
    notify([&](Listener* l) { l->cellChanged(row, col); });
}

void ListGrid::setRow(int row) {
    checkRow(row);
    if (row == m_row)
        return;
    m_row = row;
    notify([&](Listener* l) { l->currentRowChanged(row); });
}

int ListGrid::ColWidth(int col) const {
    checkCol(col);
    return m_widths[col];
}

void ListGrid::setColWidth(int col, int twips) {
    checkCol(col);
    if (m_widths[col] == twips)
        return;
    m_widths[col] = twips;
    notify([&](Listener* l) { l->columnWidthChanged(col); });
}

ListGrid::Align ListGrid::ColAlignment(int col) const {
    checkCol(col);
    return m_aligns[col];
}

}  // namespace ztgl
