#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QPair>
#include <QString>

// Fixtures of the archiver's tests: archives built for what honest writers never make (sizes that
// lie, local headers that name another file than the directory, names in Windows code pages, methods
// nobody reads, bombs), and folders seen by the bytes of their names.

struct CraftedEntry
{
    QByteArray name;           // as the central directory records it
    QByteArray content;        // the entry's bytes once extracted
    QByteArray localName = {}; // the local header's name; empty: the same as `name`
    quint16 method = 8;        // 0 stores; any other method id is written with `content` deflated
    qint64 declaredSize = -1;  // the size both headers declare; -1: the content's own
    bool zip64 = false;        // sizes (and offsets) in ZIP64 extra fields
    QByteArray data = {};      // when given, written as the entry's data instead of `content`
    quint16 flags = 0;         // the general purpose flags
    qint64 localSize = -1;     // the size the local header declares; -1: as the directory's
    qint64 localCompressedSize = -1;
    QByteArray descriptor = {}; // written after the data
};

// The bytes of a zip holding `entries` in order, names as given (no UTF-8 mark). More than 65535
// entries get ZIP64 end records.
QByteArray craftZip(const QList<CraftedEntry>& entries);

// Writes a tar of (name, content) files through the libarchive filter `filter` ("gzip", "xz"; nullptr:
// none).
bool writeCompressedTar(const QString& path, const QList<QPair<QByteArray, QByteArray>>& files,
                        const char* filter);

// `content` compressed alone (no archive around it) by the libarchive filter `filter`.
QByteArray compressed(const QByteArray& content, const char* filter);

// Writes a pax tar holding one sparse file `name` of `size` bytes whose only data is `data` at
// `offset`: everything else, its end included, is a hole.
bool writeSparseTar(const QString& path, const QByteArray& name, const QByteArray& data, qint64 offset,
                    qint64 size);

// Writes `bytes` to the file `name` of `folder`, a name that need not be UTF-8.
bool writeNamedFile(const QString& folder, const QByteArray& name, const QByteArray& bytes);

// The files of `folder` by their names' bytes (which need not be UTF-8), each with its content.
QMap<QByteArray, QByteArray> folderSnapshot(const QString& folder);
