#pragma once

#include "platform/FileSystem.h"

namespace platform::qt {

class QtFileSystem : public FileSystem
{
public:
    bool fileExists(const QString &path) const override;
    bool replaceFile(const QString &path, const QByteArray &contents, QString &error) override;
    QString replaceRefusal(const QString &path) const override;
    std::unique_ptr<QIODevice> openForReading(const QString &path, QString &error) override;
    QString programFolder() const override;
    bool isWritableFolder(const QString &path) const override;
    QString documentsFolder() const override;
    QDate today() const override;
};

} // namespace platform::qt
