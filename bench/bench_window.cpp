// How long the real window takes to answer, in process (offscreen by default): each figure runs
// from the input event (QTest key or mouse event, or the menu command) until the window has
// handled it, processed the events it posted (which paints what changed) and been repainted
// by force, so that layout and paint are always paid in full.
//
//   bench_window [REPEATS [GROUP]]   REPEATS timed repetitions of each case, after one untimed
//                                    (default 9); GROUP one of calculate, typing, file (for
//                                    profiling one group alone; default all)
//
// Prints median and worst of each case; a target is judged on the median. A figure over its
// target is reported, not failed; the exit status is non-zero only when the window did not
// do what was asked.

#include "WindowBench.h"

#include "eval/Calculation.h"
#include "history/HistoryFile.h"
#include "platform/ListBox.h"
#include "platform/TextBox.h"

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLocale>
#include <QTemporaryDir>

#include <cstdlib>
#include <functional>

namespace {

using bench::Clock;
using bench::millisSince;
using bench::Timings;

constexpr int HistoryEntries = 100000;

int repeats = 9;
bool broken = false;

void fail(const char *what)
{
    std::fprintf(stderr, "bench_window: %s\n", what);
    broken = true;
}

using Step = std::function<void(int)>;

// Runs `timed` once untimed and `repeats` times timed, each time after `prepare` and before
// `check` (both untimed).
Timings measure(const Step &prepare, const Step &timed, const Step &check = [](int) {})
{
    Timings t;
    for (int i = 0; i <= repeats; ++i) {
        prepare(i);
        QCoreApplication::processEvents();
        const double cpuStart = bench::cpuMillis();
        const Clock::time_point start = Clock::now();
        timed(i);
        const double ms = millisSince(start);
        const double cpuMs = bench::cpuMillis() - cpuStart;
        check(i);
        if (i > 0)
            t.add(ms, cpuMs);
    }
    return t;
}

void report(const char *what, const Timings &t, double targetMs = 0)
{
    std::printf("  %-62s %9.2f %9.2f %9.2f", what, t.median(), t.worst(), t.cpuMedian());
    if (targetMs > 0)
        std::printf("   < %g ms: %s%s", targetMs, t.median() < targetMs ? "met" : "NOT met",
                    t.median() < targetMs && t.worst() >= targetMs ? " (worst over)" : "");
    std::printf("\n");
    std::fflush(stdout);
}

void header(const char *title)
{
    std::printf("\n  %-62s %9s %9s %9s\n", title, "median ms", "worst ms", "CPU ms");
}

// History entries as calculations give them: expression and formatted result.
void historyOf(bench::Running &r, int count, QStringList &expressions, QStringList &numbers)
{
    expressions.clear();
    numbers.clear();
    expressions.reserve(count);
    numbers.reserve(count);
    for (int i = 0; i < count; ++i) {
        const QString expression =
            QStringLiteral("%1 + %2 * 5.25 - ( 65 - 6.5 ) / 22 + 2 ^ 3").arg(i).arg(i % 97);
        const eval::Calculation c = eval::calculateResultText(r.form.ScriptControl1, expression.toStdString(), 2);
        expressions << expression;
        numbers << QString::fromStdString(c.resultText).mid(2); // without "= "
    }
}

void fillHistory(bench::Running &r, const QStringList &expressions, const QStringList &numbers)
{
    r.form.historyLists().emptyBoth();
    r.form.historyLists().appendLoadedEntries(expressions, numbers);
    QCoreApplication::processEvents();
}

// Puts `text` in the expression box with the caret at `caret`, the box focused and painted.
void typedSoFar(bench::Running &r, const QString &text, int caret)
{
    r.box().setText(text);
    r.text1->setFocus();
    r.box().setSelStart(caret);
    QCoreApplication::processEvents();
    r.text1->repaint();
}

void calculation(bench::Running &r, const QStringList &expressions, const QStringList &numbers)
{
    header("Calculate: Enter in the expression box to the repainted window");
    int before = 0;
    auto prepare = [&](int i) {
        // A new expression each time, so that each one is added to the history.
        const QString expression = QStringLiteral("238 + 67 * 5.25 - ( 65 - 6.5 ) / 22 + 2 ^ 3 + %1").arg(i);
        typedSoFar(r, expression, int(expression.size()));
        r.window.repaint();
        before = r.form.historyLists().count();
    };
    auto calculateOnce = [&r](int) {
        QTest::keyClick(r.text1, Qt::Key_Return);
        QCoreApplication::processEvents();
        r.window.repaint();
    };
    auto check = [&](int) {
        if (!r.resultBox().text().startsWith(QLatin1String("= ")) || r.form.historyLists().count() != before + 1)
            fail("a calculation did not give a result and a history entry");
    };

    r.form.historyLists().emptyBoth();
    report("empty history", measure(prepare, calculateOnce, check));
    fillHistory(r, expressions, numbers);
    // Where the user sees the newest entries.
    r.window.controls().List2->setTopIndex(r.window.controls().List2->count());
    report("100,000 history entries", measure(prepare, calculateOnce, check), 5);
    report("  for reference: window.repaint() alone, 100,000 entries",
           measure([](int) {}, [&r](int) { r.window.repaint(); }));
}

void typingCases(bench::Running &r)
{
    header("Typing: input event to the repainted expression box");
    auto operatorAtEnd = [&r](qsizetype length, double target) {
        const QString base = bench::longExpression(length);
        const Timings t = measure([&](int) { typedSoFar(r, base, int(base.size())); },
                                  [&](int) {
                                      QTest::keyClick(r.text1, '+');
                                      QCoreApplication::processEvents();
                                      r.text1->repaint();
                                  },
                                  [&](int) {
                                      if (r.box().text() != base + QStringLiteral(" + "))
                                          fail("a typed \"+\" was not spaced");
                                  });
        const std::string what = "\"+\" typed at the end of " + QLocale(QLocale::English).toString(length).toStdString() +
                                 " characters (becomes \" + \")";
        report(what.c_str(), t, target);
    };
    auto keypadInMiddle = [&r](qsizetype length, double target) {
        const QString base = bench::longExpression(length);
        QPushButton *plus = r.key(11); // " + "
        if (plus == nullptr) {
            fail("no keypad button 11");
            return;
        }
        const int middle = int(base.size() / 2);
        const Timings t = measure([&](int) { typedSoFar(r, base, middle); },
                                  [&](int) {
                                      QTest::mouseClick(plus, Qt::LeftButton);
                                      QCoreApplication::processEvents();
                                      r.text1->repaint();
                                  },
                                  [&](int) {
                                      if (r.box().text().size() != base.size() + 3 || r.box().selStart() != middle + 3)
                                          fail("the keypad's \" + \" did not go in at the caret");
                                  });
        const std::string what = "keypad \" + \" clicked in the middle of " +
                                 QLocale(QLocale::English).toString(length).toStdString() + " characters";
        report(what.c_str(), t, target);
    };
    operatorAtEnd(1000, 2);
    operatorAtEnd(70000, 16);
    keypadInMiddle(1000, 2);
    keypadInMiddle(70000, 16);

    const QString pasted = bench::longExpression(100000);
    QGuiApplication::clipboard()->setText(pasted);
    const Timings paste = measure([&](int) { typedSoFar(r, QString(), 0); },
                                  [&](int) {
                                      QTest::keyClick(r.text1, Qt::Key_V, Qt::ControlModifier);
                                      QCoreApplication::processEvents();
                                      r.text1->repaint();
                                  },
                                  [&](int) {
                                      if (r.box().text().size() != pasted.size())
                                          fail("Ctrl+V did not paste the clipboard's text");
                                  });
    report("Ctrl+V of 100,000 characters into the empty box", paste, 16);
    typedSoFar(r, QString(), 0);
}

void historyFile(bench::Running &r, const QStringList &expressions, const QStringList &numbers)
{
    header("History file, 100,000 entries (real files, temporary folder)");
    QTemporaryDir folder;
    if (!folder.isValid()) {
        fail("no temporary folder");
        return;
    }
    r.dialogs.path = QDir(folder.path()).filePath(QStringLiteral("Tallix_history.txt"));
    fillHistory(r, expressions, numbers);

    // The menu command: rows read back from the lists, converted, written by QSaveFile.
    const Timings save = measure([](int) {},
                                 [&](int) {
                                     r.form.mnuSave_Click();
                                     QCoreApplication::processEvents();
                                 });
    const qint64 bytes = QFileInfo(r.dialogs.path).size();
    report("File > Save (mnuSave_Click, overwriting)", save, 150);
    report("  of which: the file's contents (historyFileContents)",
           measure([](int) {},
                   [&](int) {
                       const QByteArray contents = history::historyFileContents(
                           r.form.historyLists().expressionRows(), r.form.historyLists().resultRows());
                       if (contents.size() != bytes)
                           fail("historyFileContents disagrees with the saved file");
                   }));
    report("  of which: reading the rows back (expressionRows + resultRows)",
           measure([](int) {},
                   [&](int) {
                       const QStringList a = r.form.historyLists().expressionRows();
                       const QStringList b = r.form.historyLists().resultRows();
                       if (a.size() != b.size())
                           fail("the lists differ in length");
                   }));

    // The file loaded into an empty history, then into one that holds rows already: the lists
    // append all the entries at once, so the time must be that of the entries loaded, not of
    // those held.
    const auto loadInto = [&](const char *what, int held) {
        const Timings t = measure(
            [&](int) {
                if (held == HistoryEntries) {
                    fillHistory(r, expressions, numbers);
                } else {
                    r.form.historyLists().emptyBoth();
                    if (held == 1)
                        r.form.historyLists().appendEntry(QStringLiteral("1 + 1"), QStringLiteral("= 2"));
                }
                r.window.repaint();
            },
            [&](int) {
                r.form.mnuLoad_Click();
                QCoreApplication::processEvents();
                r.window.repaint();
            },
            [&](int) {
                if (r.form.historyLists().count() != held + HistoryEntries)
                    fail("File > Load did not append every entry");
            });
        report(what, t, 300);
        return t;
    };
    const Timings load = loadInto("File > Load into an empty history, to the repainted window", 0);
    const Timings intoOne = loadInto("File > Load into a history of 1 entry", 1);
    const Timings intoFull = loadInto("File > Load into a history of 100,000 entries", HistoryEntries);
    std::printf("  %-62s %8.2fx %8.2fx\n", "  ratio to the empty history (median; CPU), 1 entry held",
                intoOne.median() / load.median(), intoOne.cpuMedian() / load.cpuMedian());
    std::printf("  %-62s %8.2fx %8.2fx\n", "  ratio to the empty history (median; CPU), 100,000 held",
                intoFull.median() / load.median(), intoFull.cpuMedian() / load.cpuMedian());
    report("  of which: reading the file (readHistoryFile)",
           measure([](int) {},
                   [&](int) {
                       QFile file(r.dialogs.path);
                       if (!file.open(QIODevice::ReadOnly) || history::readHistoryFile(file).size() != HistoryEntries)
                           fail("readHistoryFile did not read every entry");
                   }));
    std::printf("  (the file: %lld bytes)\n", static_cast<long long>(bytes));

    // A result row clicked: its number goes into the expression box at the caret.
    header("Result row clicked, 100,000 entries: click to the repainted window");
    const Timings click = measure(
        [&](int i) {
            typedSoFar(r, QStringLiteral("2 * "), 4);
            r.window.controls().List2->setTopIndex(50000 + i * 10);
            QCoreApplication::processEvents();
            r.window.repaint();
        },
        [&](int i) {
            const QRect rect = r.list2->visualRect(r.list2->model()->index(50000 + i * 10 + 3, 0));
            QTest::mouseClick(r.list2->viewport(), Qt::LeftButton, {}, rect.center());
            QCoreApplication::processEvents();
            r.window.repaint();
        },
        [&](int i) {
            const QString number = history::StripResultText(r.window.controls().List2->item(50000 + i * 10 + 3));
            if (r.box().text() != QStringLiteral("2 * ") + number)
                fail("a result row click did not insert its number");
        });
    report("List2 row click (List2_Click), row 50,000 on screen", click);
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc > 1)
        repeats = std::max(1, std::atoi(argv[1]));
    bench::useOffscreenByDefault();
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Numerette"));

    bench::Running r;
    if (!r.start()) {
        std::fprintf(stderr, "bench_window: the window did not come up\n");
        return 1;
    }
    std::printf("  platform %s, %d timed repetitions of each case after one untimed\n",
                qPrintable(QGuiApplication::platformName()), repeats);

    QStringList expressions, numbers;
    historyOf(r, HistoryEntries, expressions, numbers);

    const QString group = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();
    if (group.isEmpty() || group == QLatin1String("calculate"))
        calculation(r, expressions, numbers);
    if (group.isEmpty() || group == QLatin1String("typing"))
        typingCases(r);
    if (group.isEmpty() || group == QLatin1String("file"))
        historyFile(r, expressions, numbers);
    if ((group.isEmpty() || group == QLatin1String("file")) && r.messages.shown == 0)
        fail("the save never asked to overwrite its file");
    return broken ? 1 : 0;
}
