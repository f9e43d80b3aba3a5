#pragma once

#include <QString>
#include <QStringList>
#include <QVector>
#include <functional>

namespace ztgl {

// The list window's grid as the program sees it: a flex grid with one fixed (header) row 0 and
// data rows below it, every cell a text, one current row, and per column a width in twips and an
// alignment. Views register a listener and repaint from the notifications.
class ListGrid {
public:
    enum class Align { General, Left, Center, Right };

    // The height of every row, the fixed one included.
    static constexpr int kRowHeight = 240;  // twips

    // Width of a text in the grid's font, in twips (measured at the widget edge).
    using TextWidth = std::function<int(const QString&)>;

    // Width of a text as the grid's font measures it: a blank is half as wide as a Chinese
    // character of the same size (the rule of the Chinese system font the format strings were
    // written for, whatever the font at hand says); `advance` measures everything else.
    static int textWidth(const QString& text, const TextWidth& advance);

    class Listener {
    public:
        virtual ~Listener() = default;
        virtual void gridAboutToReset() {}
        virtual void gridReset() {}
        virtual void rowsAboutToBeInserted(int /*first*/, int /*last*/) {}
        virtual void rowsInserted() {}
        virtual void rowsAboutToBeRemoved(int /*first*/, int /*last*/) {}
        virtual void rowsRemoved() {}
        virtual void cellChanged(int /*row*/, int /*col*/) {}
        virtual void currentRowChanged(int /*row*/) {}
        virtual void columnWidthChanged(int /*col*/) {}
    };

    ListGrid();

    void addListener(Listener* listener);
    void removeListener(Listener* listener);

    // "seg|seg|…": one column per segment; a leading "<", "^" or ">" aligns the column left,
    // centre or right and is not shown; the rest becomes the header text of row 0, and the
    // column is as wide as that text, blanks included (textWidth with `width`). Leaves only the
    // header row.
    void setFormatString(const QString& format, const TextWidth& width);
    const QString& FormatString() const { return m_format; }

    int Rows() const { return m_cells.size(); }
    // Never below 1 (the header row stays). New rows are empty; the current row is kept inside.
    void setRows(int rows);
    // Adds one empty row at the end and returns its index.
    int addRow();
    int Cols() const { return m_aligns.size(); }

    // Cell text; an index outside the grid raises run-time error 381.
    QString TextMatrix(int row, int col) const;
    void setTextMatrix(int row, int col, const QString& text);

    int Row() const { return m_row; }
    // Makes `row` the current row; an index outside the grid raises run-time error 381.
    void setRow(int row);

    int ColWidth(int col) const;
    void setColWidth(int col, int twips);
    Align ColAlignment(int col) const;

private:
    void checkRow(int row) const;
    void checkCol(int col) const;
    template <typename F>
    void notify(F f) {
        for (Listener* l : m_listeners)
            f(l);
    }

    QString m_format;
    QVector<QStringList> m_cells;  // row 0 is the header
    QVector<int> m_widths;
    QVector<Align> m_aligns;
    int m_row = 0;
    QVector<Listener*> m_listeners;
};

}  // namespace ztgl
