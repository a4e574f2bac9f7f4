#include "project/ProjectExtras.h"

#include "project/LittleEndian.h"

#include <QCoreApplication>

namespace {

// Texts the user reads, in the interface's language (speomark-export installs no translation
// and prints them in English).
struct Words
{
    Q_DECLARE_TR_FUNCTIONS(ProjectExtras)
};

const QByteArray Mark = QByteArrayLiteral("SPMKEXT1");

std::uint32_t fnv1a(const char *bytes, qsizetype size)
{
    std::uint32_t hash = 2166136261u;
    for (qsizetype i = 0; i < size; ++i) {
        hash ^= std::uint8_t(bytes[i]);
        hash *= 16777619u;
    }
    return hash;
}

void appendUint32(QByteArray &out, std::uint32_t value)
{
    char bytes[4];
    LittleEndian::putInt32(bytes, std::int32_t(value));
    out.append(bytes, 4);
}

} // namespace

void ProjectExtras::setSection(const QByteArray &tag, const QByteArray &content)
{
    Q_ASSERT(tag.size() == 4);
    m_sections.insert(tag, content);
}

QByteArray ProjectExtras::encode() const
{
    if (m_sections.isEmpty())
        return QByteArray();
    QByteArray out = Mark;
    appendUint32(out, std::uint32_t(m_sections.size()));
    for (auto it = m_sections.cbegin(); it != m_sections.cend(); ++it) {
        out += it.key();
        appendUint32(out, std::uint32_t(it.value().size()));
        out += it.value();
    }
    appendUint32(out, fnv1a(out.constData(), out.size()));
    return out;
}

ProjectExtras ProjectExtras::decode(const QByteArray &tail, QString *problem)
{
    problem->clear();
    if (!tail.startsWith(Mark))
        return ProjectExtras();
    const auto damaged = [&](const QString &why) {
        *problem = why;
        return ProjectExtras();
    };
    if (tail.size() > MaxBytes)
        return damaged(Words::tr("its additional block is larger than %1 bytes").arg(MaxBytes));
    qsizetype at = Mark.size();
    const auto readUint32 = [&](std::uint32_t *value) {
        if (tail.size() - at < 4)
            return false;
        *value = std::uint32_t(LittleEndian::int32At(tail.constData() + at));
        at += 4;
        return true;
    };
    std::uint32_t count = 0;
    if (!readUint32(&count))
        return damaged(Words::tr("its additional block is cut short"));
    ProjectExtras extras;
    for (std::uint32_t i = 0; i < count; ++i) {
        std::uint32_t length = 0;
        if (tail.size() - at < 4)
            return damaged(Words::tr("its additional block is cut short"));
        const QByteArray tag = tail.mid(at, 4);
        at += 4;
        if (!readUint32(&length) || qsizetype(length) > tail.size() - at)
            return damaged(Words::tr("its additional block is cut short"));
        extras.m_sections.insert(tag, tail.mid(at, qsizetype(length)));
        at += qsizetype(length);
    }
    const qsizetype checked = at;
    std::uint32_t checksum = 0;
    if (!readUint32(&checksum))
        return damaged(Words::tr("its additional block is cut short"));
    if (checksum != fnv1a(tail.constData(), checked))
        return damaged(Words::tr("its additional block is damaged (its checksum does not match)"));
    return extras;
}
