#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>

// The optional block after a project's station records: what a project remembers beyond the
// fixed layout (survey details, a PDF sheet's page, recovery information ...), as tagged sections.
// Readers of the fixed layout stop at the last record and never reach it, and a project without
// it is exactly the fixed layout.
//
// Layout: the 8 bytes "SPMKEXT1", the section count (32-bit little-endian), then each section as
// a 4-byte tag, its length (32-bit little-endian) and its bytes; last, a 32-bit FNV-1a checksum of
// everything before it. A section's content is its owner's business (usually a QDataStream).
class ProjectExtras
{
public:
    static constexpr int MaxBytes = 16 * 1024 * 1024; // far beyond anything a project remembers

    bool isEmpty() const { return m_sections.isEmpty(); }
    bool has(const QByteArray &tag) const { return m_sections.contains(tag); }
    QByteArray section(const QByteArray &tag) const { return m_sections.value(tag); }
    void setSection(const QByteArray &tag, const QByteArray &content); // tag: exactly 4 bytes
    void removeSection(const QByteArray &tag) { m_sections.remove(tag); }

    // The block's bytes; empty when there are no sections.
    QByteArray encode() const;

    // The block at the start of `tail` (the bytes after the last station record). Bytes that do
    // not begin with the block's mark are not a block: no sections and no problem, as a file
    // written by the fixed layout's writers may end in anything. A block that is cut short or
    // damaged gives no sections and says why in *problem.
    static ProjectExtras decode(const QByteArray &tail, QString *problem);

    bool operator==(const ProjectExtras &other) const { return m_sections == other.m_sections; }

private:
    QMap<QByteArray, QByteArray> m_sections;
};
