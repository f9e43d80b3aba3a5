#include "safekeeping/ChangeLogList.h"

#include <cstdlib>
#include <map>

#include "audit/ChangeLog.h"
#include "process/UiPort.h"

namespace ztgl {

const QString ChangeLogList::kFormatString =
    QStringLiteral("^ 时间 |<操作员|<工作站|^ 操作 |^帐套编号|<帐套名称|^结果|<说明");

ChangeLogList::ChangeLogList(ListGrid::TextWidth textWidth) : m_textWidth(std::move(textWidth)) {
    m_buttons[0] = {QStringLiteral("关闭(&Q)"), QStringLiteral("关闭窗体，快捷键Alt+Q"), 780};
    m_buttons[1] = {QStringLiteral("查询(&F)"), QStringLiteral("按帐套和日期查询，快捷键Alt+F"), 780};
    m_grid.setFormatString(kFormatString, m_textWidth);
}

bool ChangeLogList::Load() {
    m_grid.setRows(1);
    QVector<ChangeEntry> entries;
    std::map<qlonglong, QPair<QString, QString>> sets;  // by numeric Id, the latest name
    try {
        for (const ChangeEntry& e : ChangeLog::Read())
            if (!e.setId.isEmpty())
                sets[e.setId.toLongLong()] = {e.setId, e.setName};
        entries = ChangeLog::Read(setId, since);
    } catch (const std::exception& e) {
        ReportError(QStringLiteral("LoadChangeLog():"), e);
        return false;
    }
    m_sets.clear();
    for (const auto& [number, set] : sets)
        m_sets << set;
    for (auto e = entries.crbegin(); e != entries.crend(); ++e) {
        const int r = m_grid.addRow();
        const QStringList cells = {e->time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")),
                                   e->operatorName,
                                   e->workstation,
                                   e->action,
                                   e->setId,
                                   e->setName,
                                   e->outcome,
                                   e->detail};
        for (int c = 0; c < cells.size(); ++c)
            m_grid.setTextMatrix(r, c, cells[c]);
    }
    m_grid.setRow(m_grid.Rows() > 1 ? 1 : 0);
    fitColumns();
    return true;
}

// Every column as wide as its widest text, up to kMaxColumnWidth.
void ChangeLogList::fitColumns() {
    for (int c = 0; c < m_grid.Cols(); ++c) {
        int width = 0;
        for (int r = 0; r < m_grid.Rows(); ++r)
            width = std::max(width, m_textWidth(m_grid.TextMatrix(r, c)));
        m_grid.setColWidth(c, std::min(width + 120, kMaxColumnWidth));
    }
}

void ChangeLogList::command1_Click(int index) {
    if (index == 0 && onUnload)
        onUnload();
    else if (index == 1)
        Load();
}

ChangeLogList::Places ChangeLogList::Form_Resize(int innerWidth, int innerHeight) {
    Places p{980, 150, 1500, 0, 0};
    p.gridWidth = std::abs(innerWidth - p.gridLeft - 200);
    p.gridHeight = std::abs(innerHeight - p.gridTop - 200);
    return p;
}

}  // namespace ztgl
