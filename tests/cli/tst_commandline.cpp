#include "cli/CommandLine.h"

#include <QProcess>
#include <QTest>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Run
{
    int status = -1;
    std::string out;
    std::string err;
};

Run run(const QStringList &arguments, const std::string &input = {})
{
    std::vector<std::string> storage;
    for (const QString &a : arguments)
        storage.push_back(a.toStdString());
    std::vector<std::string_view> views(storage.begin(), storage.end());
    std::istringstream in(input);
    std::ostringstream out, err;
    Run r;
    r.status = cli::runCommandLine(views, in, out, err);
    r.out = out.str();
    r.err = err.str();
    return r;
}

} // namespace

class TestCommandLine : public QObject
{
    Q_OBJECT

private slots:
    void results_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("output");
        QTest::addColumn<int>("status");

        const QString sample = "238 + 67 * 5.25 - ( 65 - 6.5 ) / 22 + 2 ^ 3";
        QTest::newRow("default two places") << QStringList{sample} << "" << "= 595.09\n" << 0;
        QTest::newRow("auto") << QStringList{"--decimals", "auto", sample} << "" << "= 595.090909090909\n" << 0;
        QTest::newRow("joined option") << QStringList{"--decimals=0", sample} << "" << "= 595\n" << 0;
        QTest::newRow("several, one failing") << QStringList{"1+1", "1/0", "2"} << "" << "= 2\nError\n= 2\n" << 1;
        QTest::newRow("why") << QStringList{"--why", "1/0", "Sqr(-1)"} << ""
                             << "Error: 11 Division by zero\nError: 5 Invalid procedure call or argument\n" << 1;
        QTest::newRow("minus after --") << QStringList{"--", "-2^2"} << "" << "= 4\n" << 0;
        QTest::newRow("spaces trimmed") << QStringList{"   7 * 6   "} << "" << "= 42\n" << 0;
        QTest::newRow("stdin LF and CR LF") << QStringList{} << "1+2\r\n10/4\n" << "= 3\n= 2.5\n" << 0;
        QTest::newRow("stdin empty line fails") << QStringList{} << "1\n\n2\n" << "= 1\nError\n= 2\n" << 1;
        QTest::newRow("stdin without final line end") << QStringList{"--why"} << "1/0" << "Error: 11 Division by zero\n" << 1;
        // One engine per run: Rnd goes on through the sequence from its fixed start.
        QTest::newRow("rnd sequence") << QStringList{"--decimals", "auto"} << "Rnd\nRnd\nRnd(0)\n"
                                      << "= 0.7055475\n= 0.533424\n= 0.533424\n" << 0;
    }

    void results()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, input);
        QFETCH(QString, output);
        QFETCH(int, status);
        Run r = run(arguments, input.toStdString());
        QCOMPARE(QString::fromStdString(r.out), output);
        QCOMPARE(r.status, status);
        QVERIFY(r.err.empty());
    }

    void badUsage_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("unknown option") << QStringList{"--frobnicate"};
        QTest::newRow("expression starting with minus") << QStringList{"-2^2"};
        QTest::newRow("decimals out of range") << QStringList{"--decimals", "10", "1"};
        QTest::newRow("decimals not a number") << QStringList{"--decimals", "two", "1"};
        QTest::newRow("decimals without value") << QStringList{"--decimals"};
    }

    void badUsage()
    {
        QFETCH(QStringList, arguments);
        Run r = run(arguments, "1\n");
        QCOMPARE(r.status, 2);
        QVERIFY(r.out.empty());
        QVERIFY(r.err.find(cli::usageLine) != std::string::npos);
        QCOMPARE(std::count(r.err.begin(), r.err.end(), '\n'), 2); // the problem, then the usage
    }

    void help()
    {
        Run r = run({"--help"});
        QCOMPARE(r.status, 0);
        QVERIFY(r.out.starts_with(cli::usageLine));
    }

    // The installed program streams standard input and reports through its exit status.
    void realProgram()
    {
        QProcess process;
        process.start(NUMERETTE_EVAL_PATH, {"--why"});
        QVERIFY(process.waitForStarted());
        QByteArray input;
        for (int i = 0; i < 20000; ++i)
            input += QByteArray::number(i) + " * 2\n";
        input += "Log(0)\n";
        process.write(input);
        process.closeWriteChannel();
        QVERIFY(process.waitForFinished(60000));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), 1);
        const QList<QByteArray> lines = process.readAllStandardOutput().split('\n');
        QCOMPARE(lines.size(), 20002); // 20,001 results and the empty text after the last line end
        QCOMPARE(lines[1], QByteArray("= 2"));
        QCOMPARE(lines[19999], QByteArray("= 39,998"));
        QCOMPARE(lines[20000], QByteArray("Error: 5 Invalid procedure call or argument"));
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
