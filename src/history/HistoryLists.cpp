#include "HistoryLists.h"

#include "platform/ListBox.h"

namespace history {

QStringList expressionInstructionRows()
{
    return {InstructionMarkerRow, QString(), QStringLiteral("Double click here"),
            QStringLiteral("insert the history math expression"), QStringLiteral("to calculate textbox")};
}

QStringList resultInstructionRows()
{
    return {QStringLiteral("Result"), QString(), QStringLiteral("Click here"),
            QStringLiteral("insert the history result"), QStringLiteral("to calculate textbox")};
}

QString StripResultText(const QString &text)
{
    QString stripped = text;
    stripped.remove(QLatin1Char(','));
    stripped.remove(QLatin1Char(' '));
    stripped.remove(QLatin1Char('='));
    return stripped;
}

bool HistoryLists::instructionRowsShown() const { return expressions_.item(0) == InstructionMarkerRow; }

void HistoryLists::fillInstructionRows()
{
    emptyBoth();
    for (const QString &row : expressionInstructionRows())
        expressions_.addItem(row);
    for (const QString &row : resultInstructionRows())
        results_.addItem(row);
}

void HistoryLists::emptyBoth()
{
    expressions_.clear();
    results_.clear();
}

void HistoryLists::appendEntry(const QString &expression, const QString &resultText)
{
    expressions_.addItem(expression);
    results_.addItem(QStringLiteral("  ") + resultText);
}

void HistoryLists::appendLoadedEntry(const QString &expression, const QString &numberText)
{
    appendEntry(expression, QStringLiteral("= ") + numberText);
}

QString HistoryLists::lastExpressionRow() const { return expressions_.item(expressions_.count() - 1); }

int HistoryLists::count() const { return expressions_.count(); }

} // namespace history
