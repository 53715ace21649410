// A long session in process (offscreen by default): mixed operations on the real window, as
// input events where a person would make them, each followed by processing the events it
// posted (which paints what changed). The history is emptied at the end of every cycle of
// 1,000 operations, so that the memory at those points should stay flat; what it grows by
// is what the session leaks or fragments, not what the history holds.
//
//   bench_soak [OPERATIONS [--drop-undo]]   OPERATIONS default 100000, at least 2000;
//       --drop-undo runs the result box without undo and clears the expression box's
//       document (QTextDocument::clear) at every cycle's end, where the box is empty: the
//       documents then let go of their undo steps and of every character ever typed, which
//       they otherwise keep, so that the rest of the growth shows alone
//
// A cycle: typing (mostly well-formed), keypad and palette picks, backspace, copy and paste,
// calculations (some of them errors), result rows clicked, decimal places changed, the box
// cleared; at its 500th operation File > Save, at its 750th the history cleared and File >
// Load, at its last the history cleared. Exits non-zero only when the window stops doing
// what is asked.

#include "WindowBench.h"

#include "history/HistoryFile.h"
#include "platform/ListBox.h"
#include "platform/TextBox.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QTextDocument>
#include <QTemporaryDir>

#include <malloc.h>

#include <array>
#include <cstdlib>
#include <cstring>
#include <random>

namespace {

using bench::Clock;
using bench::millisSince;

constexpr int Cycle = 1000;

enum Kind { Type, Keypad, Backspace, Palette, CopyPaste, Calculate, ResultRow, Decimals, ClearBox, Save, Load, KindCount };
const char *const kindNames[KindCount] = {"type a fragment", "keypad button",  "backspace button",
                                          "palette pick",    "copy and paste", "calculate (Enter)",
                                          "result row click", "decimal places", "clear the box",
                                          "File > Save",     "clear, File > Load"};

// What is typed: an operand where one is due, else an operator and its operand, so that most
// calculations succeed; backspace, palette picks and result rows still make some fail.
const std::array<QString, 8> operands{QStringLiteral("12"),      QStringLiteral("3.5"),    QStringLiteral("1499.99"),
                                      QStringLiteral("0.2"),     QStringLiteral("Sqr(16)"), QStringLiteral("(7-2)"),
                                      QStringLiteral("Abs(-3)"), QStringLiteral("Int(9.7)")};
const std::array<QString, 8> operations{QStringLiteral("+12"),  QStringLiteral("*3.5"),   QStringLiteral("/4"),
                                        QStringLiteral("^2"),   QStringLiteral("-0.2"),   QStringLiteral("\\3"),
                                        QStringLiteral("+7 Mod 5"), QStringLiteral("+(1.5*2)")};

bool endsInOperand(const QString &text)
{
    const QString t = text.trimmed();
    return !t.isEmpty() && (t.back().isDigit() || t.back() == QLatin1Char(')'));
}

struct Sample
{
    int operations;
    double seconds;
    long kib;
    double heapMiB; // what the program holds of the heap: RSS less this is free memory kept
    int historyRows;
};

double heapInUseMiB()
{
    const struct mallinfo2 info = mallinfo2();
    return double(info.uordblks + info.hblkhd) / 1048576;
}

class Soak
{
public:
    explicit Soak(bench::Running &r) : r_(r)
    {
        command5_ = r.button("Command5");
        command6_ = r.button("Command6");
        command4_ = r.button("Command4");
        command1_ = r.button("Command1");
        save_ = r.window.findChild<QAction *>(QStringLiteral("mnuSave"));
        load_ = r.window.findChild<QAction *>(QStringLiteral("mnuLoad"));
        for (int i = 0; i < 11; ++i)
            decimals_[std::size_t(i)] = r.window.findChild<QAction *>(
                i < 10 ? QStringLiteral("mnuDec%1").arg(i) : QStringLiteral("mnuDecAuto"));
    }

    bool ready() const
    {
        for (QAction *a : decimals_)
            if (a == nullptr)
                return false;
        return command5_ && command6_ && command4_ && command1_ && save_ && load_ && r_.key(0) != nullptr;
    }

    // One operation, its events processed; its kind.
    Kind step(int index)
    {
        const int inCycle = index % Cycle;
        Kind kind;
        if (inCycle == Cycle / 2)
            kind = Save;
        else if (inCycle == Cycle * 3 / 4)
            kind = Load;
        else if (inCycle == Cycle - 1 || clearNext_ || r_.box().text().size() > 300)
            kind = ClearBox;
        else
            kind = pick();
        if (kind == Calculate && r_.box().text().trimmed().isEmpty())
            kind = Type; // nothing to calculate yet
        clearNext_ = false;
        run(kind);
        if (inCycle == Cycle - 1)
            QTest::mouseClick(command1_, Qt::LeftButton); // the history goes at every cycle's end
        QCoreApplication::processEvents();
        return kind;
    }

    int calculations = 0;
    int errors = 0;

private:
    Kind pick()
    {
        static constexpr std::array<int, 9> weights{30, 15, 5, 5, 4, 20, 6, 2, 8}; // Type .. ClearBox
        int total = 0;
        for (int w : weights)
            total += w;
        int roll = int(random_() % unsigned(total));
        for (std::size_t i = 0; i < weights.size(); ++i) {
            if (roll < weights[i])
                return Kind(i);
            roll -= weights[i];
        }
        return Type;
    }
    int below(int n) { return int(random_() % unsigned(n)); }

    void run(Kind kind)
    {
        switch (kind) {
        case Type:
            r_.text1->setFocus();
            QTest::keyClicks(r_.text1, endsInOperand(r_.box().text()) ? operations[std::size_t(below(8))]
                                                                       : operands[std::size_t(below(8))]);
            break;
        case Keypad: // a digit, or an operator after an operand (keys 11 to 15: + - * / ^)
            QTest::mouseClick(r_.key(endsInOperand(r_.box().text()) && below(2) == 0 ? 11 + below(5) : below(10)),
                              Qt::LeftButton);
            break;
        case Backspace: QTest::mouseClick(command6_, Qt::LeftButton); break;
        case Palette: { // an operator after an operand, else a function with its argument typed
            const bool operand = endsInOperand(r_.box().text());
            QTest::mouseClick(command5_, Qt::LeftButton);
            QCoreApplication::processEvents();
            const QModelIndex row = r_.list3->model()->index(operand ? below(7) : 7 + below(11), 0);
            r_.list3->scrollTo(row);
            QTest::mouseClick(r_.list3->viewport(), Qt::LeftButton, {}, r_.list3->visualRect(row).center());
            if (!operand)
                QTest::keyClicks(r_.text1, QStringLiteral("4"));
            break;
        }
        case CopyPaste: // the whole expression, then " + " and the copy pasted after it
            r_.text1->setFocus();
            QTest::keyClick(r_.text1, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClick(r_.text1, Qt::Key_C, Qt::ControlModifier);
            QTest::keyClick(r_.text1, Qt::Key_End);
            QTest::keyClick(r_.text1, '+');
            QTest::keyClick(r_.text1, Qt::Key_V, Qt::ControlModifier);
            break;
        case Calculate:
            r_.text1->setFocus();
            QTest::keyClick(r_.text1, Qt::Key_Return);
            ++calculations;
            if (r_.resultBox().text() == QLatin1String("Error")) {
                ++errors;
                clearNext_ = true; // as a person would, rather than type on after it
            }
            break;
        case ResultRow: {
            platform::ListBox &results = *r_.window.controls().List2;
            if (results.count() == 0)
                break;
            if (endsInOperand(r_.box().text())) {
                r_.text1->setFocus();
                QTest::keyClick(r_.text1, '*');
            }
            QCoreApplication::processEvents(); // the rows are laid out
            const int row = qMin(results.count() - 1, results.topIndex() + below(4));
            const QRect rect = r_.list2->visualRect(r_.list2->model()->index(row, 0));
            QTest::mouseClick(r_.list2->viewport(), Qt::LeftButton, {}, rect.center());
            break;
        }
        case Decimals: decimals_[std::size_t(below(11))]->trigger(); break;
        case ClearBox: QTest::mouseClick(command4_, Qt::LeftButton); break;
        case Save: save_->trigger(); break;
        case Load:
            QTest::mouseClick(command1_, Qt::LeftButton);
            load_->trigger();
            break;
        case KindCount: break;
        }
    }

    bench::Running &r_;
    std::mt19937 random_{919};
    bool clearNext_ = false;
    QPushButton *command5_, *command6_, *command4_, *command1_;
    QAction *save_, *load_;
    std::array<QAction *, 11> decimals_{};
};

} // namespace

int main(int argc, char *argv[])
{
    const int operations = argc > 1 ? std::max(2 * Cycle, std::atoi(argv[1]) / Cycle * Cycle) : 100000;
    const bool dropUndo = argc > 2 && std::strcmp(argv[2], "--drop-undo") == 0;
    bench::useOffscreenByDefault();
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Numerette"));

    bench::Running r;
    if (!r.start()) {
        std::fprintf(stderr, "bench_soak: the window did not come up\n");
        return 1;
    }
    QTemporaryDir folder;
    if (!folder.isValid()) {
        std::fprintf(stderr, "bench_soak: no temporary folder\n");
        return 1;
    }
    r.dialogs.path = QDir(folder.path()).filePath(QStringLiteral("Tallix_soak.txt"));
    Soak soak(r);
    if (!soak.ready()) {
        std::fprintf(stderr, "bench_soak: a control is missing\n");
        return 1;
    }

    auto *resultEdit = r.window.findChild<QPlainTextEdit *>(QStringLiteral("Text2"));
    if (resultEdit == nullptr) {
        std::fprintf(stderr, "bench_soak: no result box\n");
        return 1;
    }
    if (dropUndo)
        resultEdit->setUndoRedoEnabled(false);
    std::vector<Sample> samples;
    std::array<double, KindCount> kindMillis{};
    std::array<int, KindCount> kindCount{};
    double firstMillis = 0, lastMillis = 0;
    int maxHistory = 0;
    const Clock::time_point start = Clock::now();
    samples.push_back({0, 0, bench::residentKiB(), heapInUseMiB(), r.form.historyLists().count()});
    for (int i = 0; i < operations; ++i) {
        const Clock::time_point before = Clock::now();
        const Kind kind = soak.step(i);
        const double ms = millisSince(before);
        kindMillis[kind] += ms;
        ++kindCount[kind];
        if (i < Cycle)
            firstMillis += ms;
        if (i >= operations - Cycle)
            lastMillis += ms;
        maxHistory = std::max(maxHistory, r.form.historyLists().count());
        if (dropUndo && (i + 1) % Cycle == 0 && r.text1->toPlainText().isEmpty())
            r.text1->document()->clear();
        if ((i + 1) % Cycle == 0)
            samples.push_back({i + 1, millisSince(start) / 1000, bench::residentKiB(), heapInUseMiB(),
                               r.form.historyLists().count()});
    }
    if (soak.calculations - soak.errors == 0 || r.messages.shown == 0) {
        std::fprintf(stderr, "bench_soak: no calculation gave a result, or no save overwrote its file\n");
        return 1;
    }

    // What a stored entry costs: the heap after File > Load of a file of 100,000 entries, as
    // a user loads it, less the heap before (RSS would count less, the freed memory of the
    // session taking some of them). Nothing of the file is held here while it loads.
    const QString entriesPath = QDir(folder.path()).filePath(QStringLiteral("Tallix_100000.txt"));
    {
        QStringList expressions, results;
        for (int i = 0; i < 100000; ++i) {
            expressions << QStringLiteral("%1 + %2 * 5.25 - ( 65 - 6.5 ) / 22 + 2 ^ 3").arg(i).arg(i % 97);
            results << QStringLiteral("  = %1.09").arg(i * 7);
        }
        QFile file(entriesPath);
        if (!file.open(QIODevice::WriteOnly) ||
            file.write(history::historyFileContents(expressions, results)) <= 0) {
            std::fprintf(stderr, "bench_soak: cannot write %s\n", qPrintable(entriesPath));
            return 1;
        }
    }
    const QString soakPath = r.dialogs.path;
    r.dialogs.path = entriesPath;
    r.form.historyLists().emptyBoth();
    QCoreApplication::processEvents();
    const double emptyMiB = heapInUseMiB();
    r.form.mnuLoad_Click();
    QCoreApplication::processEvents();
    r.window.repaint();
    const double fullMiB = heapInUseMiB();
    if (r.form.historyLists().count() != 100000) {
        std::fprintf(stderr, "bench_soak: File > Load gave %d entries, not 100000\n", r.form.historyLists().count());
        return 1;
    }
    const double bytesPerEntry = (fullMiB - emptyMiB) * 1048576 / 100000.0;
    r.form.historyLists().emptyBoth();
    r.dialogs.path = soakPath;

    std::printf("  %d operations (%d calculations, %d of them errors), history at most %d rows\n", operations,
                soak.calculations, soak.errors, maxHistory);
    std::printf("\n  %10s %10s %10s %10s %12s   (at the end of a cycle: history emptied)\n", "operations",
                "seconds", "VmRSS MiB", "heap MiB", "history rows");
    const std::size_t every = std::max<std::size_t>(1, (samples.size() - 1) / 10);
    for (std::size_t i = 0; i < samples.size(); ++i)
        if (i % every == 0 || i + 1 == samples.size())
            std::printf("  %10d %10.1f %10.1f %10.2f %12d\n", samples[i].operations, samples[i].seconds,
                        double(samples[i].kib) / 1024, samples[i].heapMiB, samples[i].historyRows);

    // Growth from the end of the first cycle, once every kind of operation has run.
    const Sample &settled = samples[1];
    const Sample &last = samples.back();
    const double growthKiB = double(last.kib - settled.kib);
    std::printf("\n  memory growth after the first cycle: %+.1f MiB over %d operations (%+.1f bytes an operation)\n",
                growthKiB / 1024, last.operations - settled.operations,
                growthKiB * 1024 / double(last.operations - settled.operations));
    std::printf("  heap in use (malloc's own count) %+.2f MiB over the same operations\n",
                last.heapMiB - settled.heapMiB);
    std::printf("  a loaded history entry costs %.0f bytes of heap (File > Load of 100,000: %+.1f MiB); the growth is %.0f entries' worth,\n"
                "  the history at most %d rows (%.2f MiB) and empty at each sample\n",
                bytesPerEntry, fullMiB - emptyMiB, growthKiB * 1024 / bytesPerEntry, maxHistory,
                bytesPerEntry * maxHistory / 1048576);
    std::printf("  undo steps held at the end: expression box %d, result box %d%s\n",
                r.text1->document()->availableUndoSteps(), resultEdit->document()->availableUndoSteps(),
                dropUndo ? " (--drop-undo)" : "");
    std::printf("  first %d operations %.0f ms, last %d operations %.0f ms (last/first %.2f)\n", Cycle, firstMillis,
                Cycle, lastMillis, lastMillis / firstMillis);
    std::printf("\n  %-22s %8s %10s\n", "operation", "count", "mean ms");
    for (int k = 0; k < KindCount; ++k)
        if (kindCount[std::size_t(k)] > 0)
            std::printf("  %-22s %8d %10.3f\n", kindNames[k], kindCount[std::size_t(k)],
                        kindMillis[std::size_t(k)] / kindCount[std::size_t(k)]);
    return 0;
}
