#include "runtime/qt/qt_file_store.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cstdio>

namespace rtqt {

namespace {

bool failed(const std::string& name, const QString& reason)
{
    std::fprintf(stderr, "could not save %s: %s\n", name.c_str(),
                 reason.simplified().toLocal8Bit().constData());
    return false;
}

} // namespace

std::optional<std::string> QtFileStore::read(const std::string& name)
{
    const QString path = QString::fromStdString(name);
    const QFileInfo info(path);
    if (!info.isFile() || info.size() > kMaxBytes)
        return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    // One byte more than allowed tells a file that grew since it was looked at.
    const QByteArray bytes = file.read(kMaxBytes + 1);
    if (file.error() != QFileDevice::NoError || bytes.size() > kMaxBytes)
        return std::nullopt;
    return bytes.toStdString();
}

bool QtFileStore::replace(const std::string& name, std::string_view bytes)
{
    QSaveFile file(QString::fromStdString(name));
    if (!file.open(QIODevice::WriteOnly))
        return failed(name, file.errorString());
    const auto size = static_cast<qint64>(bytes.size());
    // QSaveFile buffers: a disk that fills up shows only in flush(), and commit() would still
    // put the truncated file in place, so the flush is checked before committing.
    if (file.write(bytes.data(), size) != size || !file.flush()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return failed(name, reason);
    }
    if (!file.commit())
        return failed(name, file.errorString());
    return true;
}

} // namespace rtqt
