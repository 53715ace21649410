#pragma once

#include <QString>
#include <QStringList>

namespace platform {
class ListBox;
}

namespace history {

// Row 0 of the expression list while the history shows its instruction rows.
inline const QString InstructionMarkerRow = QStringLiteral("Calculate History");

QStringList expressionInstructionRows();
QStringList resultInstructionRows();

// Removes every ",", then every " ", then every "=": "  = 1,234.57" gives "1234.57".
QString StripResultText(const QString &text);

// The calculation history: two parallel lists, expressions in List1 and results in List2,
// row i of each forming one entry. Every operation keeps both lists the same length.
class HistoryLists
{
public:
    HistoryLists(platform::ListBox &expressions, platform::ListBox &results)
        : expressions_(expressions), results_(results)
    {
    }

    // True exactly when row 0 of the expression list is "Calculate History".
    bool instructionRowsShown() const;
    void fillInstructionRows(); // empties both lists first
    void emptyBoth();
    // The expression, then two spaces and the result text ("  = 595.09").
    // The new entry is scrolled into sight in both lists.
    void appendEntry(const QString &expression, const QString &resultText);
    void removeEntry(int index); // both rows of entry `index`
    // Entries loaded from a history file, (expression, number text) pairs in order: each
    // result row is two spaces, "= " and the number text.
    void appendLoadedEntries(const QStringList &expressions, const QStringList &numberTexts);
    QStringList expressionRows() const;
    QStringList resultRows() const;
    QString lastExpressionRow() const; // empty text when there is none
    int count() const;

    platform::ListBox &expressions() { return expressions_; }
    platform::ListBox &results() { return results_; }

private:
    platform::ListBox &expressions_;
    platform::ListBox &results_;
};

} // namespace history
