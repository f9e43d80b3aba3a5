#include "MdbDump.h"

#include <sys/stat.h>

#include <QtEndian>
#include <cmath>
#include <stdexcept>

namespace ztgl::jetread {
namespace {

using ado::JetFileFrame;

constexpr int kOffsetMask = 0x1fff;
// A row slot with this bit holds no row of its own: the row was deleted, or it is the far end of an
// overflow pointer and is read through that pointer where the row stands in the table's order.
constexpr int kNotHere = 0x8000;
// A row slot with this bit holds a pointer (page and row) to where the row was moved when it grew.
constexpr int kOverflow = 0x4000;
constexpr int kMaxOverflowHops = 8;
constexpr int kLongHeaderSize = 12;

[[noreturn]] void damaged(const QString& what) {
    throw std::runtime_error(what.toStdString());
}

int fixedSize(int type) {
    switch (type) {
        case MDB_BYTE:
            return 1;
        case MDB_INT:
            return 2;
        case MDB_LONGINT:
        case MDB_COMPLEX:
        case MDB_FLOAT:
            return 4;
        case MDB_MONEY:
        case MDB_DOUBLE:
        case MDB_DATETIME:
            return 8;
        case MDB_REPID:
            return 16;
        default:
            return 0;
    }
}

QString text(const char* s) {
    return s ? QString::fromUtf8(s) : QString();
}

}  // namespace

MdbDump::~MdbDump() {
    if (m_mdb)
        mdb_close(m_mdb);
}

void MdbDump::write(const JetFileFrame& frame) {
    const QByteArray bytes = frame.encode();
    fwrite(bytes.constData(), 1, size_t(bytes.size()), m_out);
}

void MdbDump::open(const QByteArray& path) {
    struct stat st {};
    if (stat(path.constData(), &st) != 0)
        damaged(QStringLiteral("找不到文件"));
    m_fileSize = st.st_size;
    m_mdb = mdb_open(path.constData(), MDB_NOFLAGS);
    if (!m_mdb)
        damaged(QStringLiteral("文件头无法读取"));
    if (m_mdb->f->jet_version != MDB_VER_JET3 && m_mdb->f->jet_version != MDB_VER_JET4)
        damaged(QStringLiteral("不是 Jet 3 或 Jet 4 格式"));
    JetFileFrame h;
    h.tag = JetFileFrame::Header;
    h.header.version = quint8(m_mdb->f->jet_version);
    h.header.codePage = m_mdb->f->code_page;
    h.header.password = password();
    if (IS_JET3(m_mdb) && m_mdb->f->code_page > 0) {
        // Jet 3 keeps names in the database's code page; the library assumes 1252 unless told.
        setenv("MDB_JET3_CHARSET", QByteArray("CP" + QByteArray::number(m_mdb->f->code_page)).constData(), 1);
        mdb_iconv_close(m_mdb);
        mdb_iconv_init(m_mdb);
    }
    if (!mdb_read_catalog(m_mdb, MDB_ANY))
        damaged(QStringLiteral("系统表 MSysObjects 无法读取"));
    write(h);
}

// Page 0, as the library decoded it when opening: the password lies at 0x42, 20 bytes in Jet 3 and 40 in
// Jet 4, where each group of four bytes is also masked with the whole days of the creation date (at 0x72).
QByteArray MdbDump::password() const {
    const unsigned char* page = m_mdb->pg_buf;
    if (m_mdb->cur_pg != 0)
        damaged(QStringLiteral("文件头无法读取"));
    if (IS_JET3(m_mdb))
        return QByteArray(reinterpret_cast<const char*>(page + 0x42), 20);
    double created = 0;
    memcpy(&created, page + 0x72, sizeof created);
    const qint32 days = std::isfinite(created) && std::fabs(created) < 2.0e9 ? qint32(created) : 0;
    unsigned char mask[4];
    qToLittleEndian(days, mask);
    QByteArray out(40, Qt::Uninitialized);
    for (int i = 0; i < 40; ++i)
        out[i] = char(page[0x42 + i] ^ mask[i % 4]);
    return out;
}

MdbCatalogEntry* MdbDump::entry(const QString& name) const {
    const QByteArray utf8 = name.toUtf8();
    for (unsigned i = 0; i < m_mdb->num_catalog; ++i) {
        auto* e = static_cast<MdbCatalogEntry*>(g_ptr_array_index(m_mdb->catalog, i));
        if (e->object_type == MDB_TABLE && utf8 == e->object_name)
            return e;
    }
    return nullptr;
}

ado::JetFileTable MdbDump::definition(MdbCatalogEntry* entry, MdbTableDef* t) const {
    ado::JetFileTable d;
    d.name = text(entry->object_name);
    d.system = mdb_is_system_table(entry) != 0;
    d.rowCount = t->num_rows;
    for (unsigned i = 0; i < t->num_cols; ++i) {
        auto* col = static_cast<MdbColumn*>(g_ptr_array_index(t->columns, i));
        ado::JetFileColumn c;
        c.name = text(col->name);
        c.type = quint8(col->col_type);
        c.size = col->col_size;
        c.precision = quint8(col->col_prec);
        c.scale = quint8(col->col_scale);
        c.autoNumber = col->is_long_auto != 0;
        c.required = text(mdb_col_get_prop(col, "Required"));
        c.defaultValue = text(mdb_col_get_prop(col, "DefaultValue"));
        d.columns.append(c);
    }
    for (unsigned i = 0; t->indices && i < t->indices->len; ++i) {
        auto* idx = static_cast<MdbIndex*>(g_ptr_array_index(t->indices, i));
        ado::JetFileIndex x;
        x.name = text(idx->name);
        x.kind = idx->index_type;
        x.unique = (idx->flags & MDB_IDX_UNIQUE) != 0;
        for (unsigned k = 0; k < idx->num_keys && k < MDB_MAX_IDX_COLS; ++k) {
            const int n = idx->key_col_num[k] - 1;  // the library counts key columns from 1
            if (n < 0 || unsigned(n) >= t->num_cols)
                damaged(QStringLiteral("表“%1”的索引“%2”指向不存在的字段").arg(d.name, x.name));
            x.columns << text(static_cast<MdbColumn*>(g_ptr_array_index(t->columns, n))->name);
        }
        d.indexes.append(x);
    }
    return d;
}

void MdbDump::catalog() {
    for (unsigned i = 0; i < m_mdb->num_catalog; ++i) {
        auto* e = static_cast<MdbCatalogEntry*>(g_ptr_array_index(m_mdb->catalog, i));
        if (e->object_type != MDB_TABLE)
            continue;
        MdbTableDef* t = read(e);
        JetFileFrame f;
        f.tag = JetFileFrame::Table;
        f.table = definition(e, t);
        mdb_free_tabledef(t);
        write(f);
    }
    // The catalogue itself, every value read: a page of it lost would hide tables, or the properties of
    // their columns (defaults, Required), without a trace.
    MdbTableDef* objects = open(QStringLiteral("MSysObjects"));
    scan(objects, [&](int start, size_t size) { rowValues(objects, start, size); });
    JetFileFrame end;
    end.tag = JetFileFrame::End;
    write(end);
}

MdbTableDef* MdbDump::read(MdbCatalogEntry* e) {
    MdbTableDef* t = mdb_read_table(e);
    if (!t)
        damaged(QStringLiteral("表“%1”的定义无法读取").arg(text(e->object_name)));
    // Where their pages cannot be read, the library leaves the columns out but keeps their number as the
    // definition claims it; it would then fail on them while reading the indexes.
    if (!mdb_read_columns(t) && t->num_cols > 0) {
        mdb_free_tabledef(t);
        damaged(QStringLiteral("表“%1”的定义无法读取").arg(text(e->object_name)));
    }
    mdb_read_indices(t);
    return t;
}

MdbTableDef* MdbDump::open(const QString& name) {
    m_table = name;
    MdbCatalogEntry* e = entry(name);
    if (!e)
        damaged(QStringLiteral("目录中没有表“%1”").arg(name));
    return read(e);
}

void MdbDump::rows(const QString& name) {
    MdbTableDef* t = open(name);
    JetFileFrame head;
    head.tag = JetFileFrame::Table;
    head.table = definition(t->entry, t);
    write(head);
    JetFileFrame row;
    row.tag = JetFileFrame::Row;
    JetFileFrame end;
    end.tag = JetFileFrame::End;
    end.rows = scan(t, [&](int start, size_t size) {
        const auto values = rowValues(t, start, size);
        row.values = QVector<QByteArray>(values.begin(), values.end());
        write(row);
    });
    write(end);
}

quint32 MdbDump::scan(MdbTableDef* t, const std::function<void(int, size_t)>& onRow) {
    const int rco = m_mdb->fmt->row_count_offset;
    const int maxRows = int(m_mdb->fmt->pg_size - rco) / 2;
    quint32 count = 0;
    mdb_rewind_table(t);
    try {
        while (const int page = mdb_read_next_dpg(t)) {
            const int rows = mdb_get_int16(m_mdb->pg_buf, rco);
            if (rows < 0 || rows > maxRows)
                damaged(QStringLiteral("第 %1 页的行数不对").arg(page));
            for (int r = 0; r < rows; ++r) {
                if (m_mdb->cur_pg != static_cast<guint32>(page) &&
                    mdb_read_pg(m_mdb, page) != m_mdb->fmt->pg_size)
                    damaged(QStringLiteral("第 %1 页无法读取").arg(page));
                int start = 0;
                size_t size = 0;
                if (!locateRow(static_cast<unsigned long>(page), r, &start, &size))
                    continue;
                onRow(start, size);
                ++count;
            }
            fflush(m_out);
        }
    } catch (...) {
        mdb_free_tabledef(t);
        throw;
    }
    const quint32 expected = t->num_rows;
    const QString name = m_table;
    mdb_free_tabledef(t);
    // Jet keeps the count of a table's rows in its definition: fewer or more rows than that means pages that
    // were lost or rows that cannot be told apart. Only its list of permissions, MSysACEs, does not always
    // keep the count.
    if (count != expected && name.compare(QLatin1String("MSysACEs"), Qt::CaseInsensitive) != 0)
        damaged(
            QStringLiteral("表“%1”的定义记有 %2 行，读到的却是 %3 行").arg(name).arg(expected).arg(count));
    return count;
}

bool MdbDump::locateRow(unsigned long page, int row, int* start, size_t* size) {
    const int rco = m_mdb->fmt->row_count_offset;
    const int slot = mdb_get_int16(m_mdb->pg_buf, rco + 2 + row * 2);
    if (slot < 0 || (slot & kNotHere))
        return false;
    if (mdb_find_row(m_mdb, row, start, size) != 0)
        damaged(QStringLiteral("第 %1 页的第 %2 行越出了页面").arg(page).arg(row));
    *start &= kOffsetMask;
    if (!(slot & kOverflow))
        return *size > 0;
    const long owner = mdb_get_int32(m_mdb->pg_buf, 4);
    for (int hops = 0;; ++hops) {
        if (*size < 4 || hops >= kMaxOverflowHops)
            damaged(QStringLiteral("第 %1 页的第 %2 行的转移指针无效").arg(page).arg(row));
        const quint32 pgRow = quint32(mdb_get_int32(m_mdb->pg_buf, *start));
        const unsigned long target = pgRow >> 8;
        const int targetRow = int(pgRow & 0xff);
        if (mdb_read_pg(m_mdb, target) != m_mdb->fmt->pg_size || m_mdb->pg_buf[0] != MDB_PAGE_DATA ||
            mdb_get_int32(m_mdb->pg_buf, 4) != owner || targetRow >= mdb_get_int16(m_mdb->pg_buf, rco))
            damaged(QStringLiteral("第 %1 页的第 %2 行转移到的第 %3 页无效").arg(page).arg(row).arg(target));
        const int targetSlot = mdb_get_int16(m_mdb->pg_buf, rco + 2 + targetRow * 2);
        if (mdb_find_row(m_mdb, targetRow, start, size) != 0)
            damaged(QStringLiteral("第 %1 页的第 %2 行越出了页面").arg(target).arg(targetRow));
        *start &= kOffsetMask;
        const int flags = targetSlot & (kNotHere | kOverflow);
        if (flags == (kNotHere | kOverflow))
            damaged(QStringLiteral("第 %1 页的第 %2 行转移到了已删除的行").arg(page).arg(row));
        if (flags != kOverflow)
            return *size > 0;
    }
}

std::vector<QByteArray> MdbDump::rowValues(MdbTableDef* t, int start, size_t size) {
    std::vector<MdbField> fields(t->num_cols);
    if (mdb_crack_row(t, start, size, fields.data()) < 0)
        damaged(QStringLiteral("表“%1”中有一行无法拆解").arg(m_table));
    const int pageSize = int(m_mdb->fmt->pg_size);
    std::vector<QByteArray> out(t->num_cols);
    for (unsigned i = 0; i < t->num_cols; ++i) {
        auto* col = static_cast<MdbColumn*>(g_ptr_array_index(t->columns, i));
        const MdbField& f = fields[i];
        if (col->col_type == MDB_BOOL) {
            // A yes/no value lives in the row's null mask: a set bit is Yes.
            out[i] = QByteArray(1, f.is_null ? '\0' : '\1');
            continue;
        }
        if (f.is_null)
            continue;
        if (f.start < 0 || f.siz < 0 || f.start + f.siz > pageSize)
            damaged(QStringLiteral("表“%1”中有一行的字段“%2”越出了页面").arg(m_table, text(col->name)));
        const char* p = reinterpret_cast<const char*>(m_mdb->pg_buf) + f.start;
        switch (col->col_type) {
            case MDB_MEMO:
            case MDB_OLE:
                out[i] = longValue(col, f.start, f.siz);
                break;
            case MDB_NUMERIC: {
                if (f.siz < 17)
                    damaged(QStringLiteral("表“%1”的字段“%2”的值不完整").arg(m_table, text(col->name)));
                char* s = mdb_numeric_to_string(m_mdb, f.start, col->col_scale, col->col_prec);
                out[i] = QByteArray(s);
                g_free(s);
                break;
            }
            default: {
                // Text, binary and the types without a documented form go out as their bytes.
                const int need = fixedSize(col->col_type);
                if (need == 0) {
                    out[i] = QByteArray(p, f.siz);
                    break;
                }
                if (f.siz < need)
                    damaged(QStringLiteral("表“%1”的字段“%2”的值不完整").arg(m_table, text(col->name)));
                out[i] = QByteArray(p, need);
            }
        }
    }
    return out;
}

// A memo or OLE value: a 12-byte head in the row (length and flags, then where the value lies), the value
// itself after the head, on one long-value page, or on a chain of them.
QByteArray MdbDump::longValue(MdbColumn* col, int start, int size) {
    if (size < kLongHeaderSize)
        damaged(QStringLiteral("表“%1”的字段“%2”的值不完整").arg(m_table, text(col->name)));
    const unsigned char* head = m_mdb->pg_buf + start;
    const quint32 word = qFromLittleEndian<quint32>(head);
    const qint64 length = word & 0x3fffffff;
    const auto broken = [&] {
        damaged(QStringLiteral("表“%1”的字段“%2”的长值数据损坏").arg(m_table, text(col->name)));
    };
    if (length > m_fileSize)
        broken();
    if (word & 0x80000000) {
        if (size - kLongHeaderSize < length)
            broken();
        return QByteArray(reinterpret_cast<const char*>(head) + kLongHeaderSize, int(length));
    }
    int pgRow = qFromLittleEndian<qint32>(head + 4);
    void* buf = nullptr;
    int off = 0;
    size_t len = 0;
    if (word & 0x40000000) {
        if (mdb_find_pg_row(m_mdb, pgRow, &buf, &off, &len) != 0 || qint64(len) < length)
            broken();
        return QByteArray(static_cast<const char*>(buf) + off, int(length));
    }
    QByteArray out;
    const qint64 maxHops = m_fileSize / m_mdb->fmt->pg_size + 1;
    for (qint64 hops = 0; out.size() < length; ++hops) {
        if (pgRow == 0 || hops > maxHops || mdb_find_pg_row(m_mdb, pgRow, &buf, &off, &len) != 0 || len < 4)
            broken();
        const char* chunk = static_cast<const char*>(buf) + off;
        pgRow = qFromLittleEndian<qint32>(chunk);
        out.append(chunk + 4, int(std::min<qint64>(qint64(len) - 4, length - out.size())));
    }
    return out;
}

}  // namespace ztgl::jetread
