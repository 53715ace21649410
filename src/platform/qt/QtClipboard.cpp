#include "QtClipboard.h"

#include <QClipboard>
#include <QGuiApplication>

namespace platform::qt {

bool QtClipboard::clear()
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    if (clipboard == nullptr)
        return false;
    clipboard->clear();
    return true;
}

bool QtClipboard::setText(const QString &text)
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    if (clipboard == nullptr)
        return false;
    QString platformText = text;
    platformText.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    clipboard->setText(platformText);
    return true;
}

std::optional<QString> QtClipboard::text() const
{
    const QClipboard *clipboard = QGuiApplication::clipboard();
    if (clipboard == nullptr)
        return std::nullopt;
    QString text = clipboard->text();
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return text;
}

} // namespace platform::qt
