#pragma once
// What bench_window and bench_soak share: the real window with its logic, the two things no
// one is there to answer (file dialogs and message boxes) answered by stubs, and the clock.

#include "app/FormTallix.h"
#include "app/MainWindow.h"
#include "platform/FileDialogs.h"
#include "platform/MessageBoxes.h"

#include <QApplication>
#include <QAbstractItemView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace bench {

using Clock = std::chrono::steady_clock;

// The CPU time of the whole process (every thread), in milliseconds.
inline double cpuMillis()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

inline double millisSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Every dialog "chooses" the same file.
class ScriptedDialogs : public platform::FileDialogs
{
public:
    QString saveFileName(const Request &) override { return path; }
    QString openFileName(const Request &) override { return path; }
    QString path;
};

// Answers Yes to "overwrite it?" and OK to everything else, and counts what it was shown.
class YesMessages : public platform::MessageBoxes
{
public:
    int show(const QString &, int, const QString &) override
    {
        ++shown;
        return platform::msgbox::Yes;
    }
    int shown = 0;
};

inline app::FormControls withStubs(app::FormControls controls, ScriptedDialogs &dialogs, YesMessages &messages)
{
    controls.fileDialogs = &dialogs;
    controls.messages = &messages;
    return controls;
}

// The program as main.cpp starts it, past the first click into the expression box.
struct Running
{
    app::MainWindow window;
    ScriptedDialogs dialogs;
    YesMessages messages;
    app::FormTallix form{withStubs(window.controls(), dialogs, messages)};
    QPlainTextEdit *text1 = nullptr;
    // Any item view will do, so that these keep working whatever view the list boxes use.
    QAbstractItemView *list1 = nullptr;
    QAbstractItemView *list2 = nullptr;
    QAbstractItemView *list3 = nullptr;

    // False when the window never came up.
    bool start()
    {
        form.Form_Load();
        window.show();
        text1 = window.findChild<QPlainTextEdit *>(QStringLiteral("Text1"));
        list1 = window.findChild<QAbstractItemView *>(QStringLiteral("List1"));
        list2 = window.findChild<QAbstractItemView *>(QStringLiteral("List2"));
        list3 = window.findChild<QAbstractItemView *>(QStringLiteral("List3"));
        if (text1 == nullptr || list1 == nullptr || list2 == nullptr || list3 == nullptr ||
            !QTest::qWaitForWindowActive(&window))
            return false;
        QTest::mouseClick(text1->viewport(), Qt::LeftButton, {}, QPoint(5, 5)); // ends the instruction text
        QCoreApplication::processEvents();
        return text1->hasFocus();
    }

    QPushButton *button(const char *name) const { return window.findChild<QPushButton *>(QLatin1String(name)); }
    QPushButton *key(int index) const
    {
        for (QPushButton *b : window.findChildren<QPushButton *>(QStringLiteral("CommandNum")))
            if (b->property("index").toInt() == index)
                return b;
        return nullptr;
    }
    platform::TextBox &box() const { return *window.controls().Text1; }
    platform::TextBox &resultBox() const { return *window.controls().Text2; }
};

// Median and worst of a set of timings, in milliseconds.
struct Timings
{
    std::vector<double> millis;
    std::vector<double> cpuMillis; // the process's CPU time over the same runs

    void add(double ms, double cpuMs = 0)
    {
        millis.push_back(ms);
        cpuMillis.push_back(cpuMs);
    }
    double median() const { return medianOf(millis); }
    double cpuMedian() const { return medianOf(cpuMillis); }
    static double medianOf(const std::vector<double> &values)
    {
        std::vector<double> sorted = values;
        std::sort(sorted.begin(), sorted.end());
        const std::size_t n = sorted.size();
        if (n == 0)
            return 0;
        return n % 2 == 1 ? sorted[n / 2] : (sorted[n / 2 - 1] + sorted[n / 2]) / 2;
    }
    double worst() const { return millis.empty() ? 0 : *std::max_element(millis.begin(), millis.end()); }
};

// The process's resident memory, in KiB, as /proc tells it.
inline long residentKiB()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stol(line.substr(6));
    return -1;
}

// A text of at least `length` characters in the shape people type, ending in a digit.
inline QString longExpression(qsizetype length)
{
    static const QString pieces[] = {QStringLiteral("12.5 + "), QStringLiteral("340 * "),
                                     QStringLiteral("( 7 - 0.25 ) / "), QStringLiteral("2 ^ 3 - ")};
    QString text;
    text.reserve(length + 16);
    for (std::size_t i = 0; text.size() < length - 2; ++i)
        text += pieces[i % 4];
    text.truncate(length - 2);
    while (!text.isEmpty() && !text.back().isDigit())
        text.chop(1);
    while (text.size() < length)
        text += QLatin1Char('1');
    return text;
}

// Offscreen unless told otherwise, so that no display is needed.
inline void useOffscreenByDefault()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

} // namespace bench
