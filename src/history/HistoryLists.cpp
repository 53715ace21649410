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
    const int last = results_.count() - 1;
    results_.ensureVisible(last);
    expressions_.ensureVisible(last);
}

void HistoryLists::removeEntry(int index)
{
    expressions_.removeItem(index);
    results_.removeItem(index);
}

void HistoryLists::appendLoadedEntries(const QStringList &expressions, const QStringList &numberTexts)
{
    QStringList results;
    results.reserve(numberTexts.size());
    for (const QString &number : numberTexts)
        results << QStringLiteral("  = ") + number;
    expressions_.addItems(expressions);
    results_.addItems(results);
}

namespace {
QStringList rowsOf(const platform::ListBox &list)
{
    QStringList rows;
    rows.reserve(list.count());
    for (int i = 0; i < list.count(); ++i)
        rows << list.item(i);
    return rows;
}
} // namespace

QStringList HistoryLists::expressionRows() const { return rowsOf(expressions_); }
QStringList HistoryLists::resultRows() const { return rowsOf(results_); }

QString HistoryLists::lastExpressionRow() const { return expressions_.item(expressions_.count() - 1); }

int HistoryLists::count() const { return expressions_.count(); }

} // namespace history
