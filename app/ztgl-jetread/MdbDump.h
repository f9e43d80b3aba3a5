#pragma once

// glib first: mdbtools.h would include it inside extern "C", where its C++ parts cannot stand.
#include <glib.h>
#include <mdbtools.h>

#include <QByteArray>
#include <QString>
#include <cstdio>
#include <functional>
#include <vector>

#include "ado/JetFileWire.h"

namespace ztgl::jetread {

// Reads a Jet file through libmdb and writes what it finds as JetFileFrame messages. The values go out as
// the file holds them (text undecoded, numbers as their bytes); the engine decodes them. Every check the
// file fails throws std::runtime_error with a short text in the program's language.
class MdbDump {
public:
    explicit MdbDump(FILE* out) : m_out(out) {}
    ~MdbDump();
    MdbDump(const MdbDump&) = delete;
    MdbDump& operator=(const MdbDump&) = delete;

    // Opens the file read-only and writes its header.
    void open(const QByteArray& path);
    // One table definition per table of the catalogue, system tables included, then End.
    void catalog();
    // The table's definition, its rows, then End with their number.
    void rows(const QString& table);

    void write(const ado::JetFileFrame& frame);

private:
    MdbCatalogEntry* entry(const QString& name) const;
    // The table of the catalogue entry with its columns and indexes; to be freed by scan() or
    // mdb_free_tabledef().
    MdbTableDef* read(MdbCatalogEntry* entry);
    // The table of the catalogue with its columns and indexes; to be freed by scan().
    MdbTableDef* open(const QString& name);
    // Every row of the table, in the file's order; checks their number against the table's definition and
    // frees the table.
    quint32 scan(MdbTableDef* table, const std::function<void(int start, size_t size)>& onRow);
    ado::JetFileTable definition(MdbCatalogEntry* entry, MdbTableDef* table) const;
    QByteArray password() const;
    // The row at `row` of the data page now read; follows an overflow pointer to where the row lives.
    // False when the slot holds no row (deleted, or the target of a pointer, read through that pointer).
    bool locateRow(unsigned long page, int row, int* start, size_t* size);
    std::vector<QByteArray> rowValues(MdbTableDef* table, int start, size_t size);
    QByteArray longValue(MdbColumn* col, int start, int size);

    FILE* m_out;
    MdbHandle* m_mdb = nullptr;
    qint64 m_fileSize = 0;
    QString m_table;  // the table being read, for messages
};

}  // namespace ztgl::jetread
