#include "cli/CommandLine.h"

#include <QProcess>
#include <QTest>

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
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
        QTest::newRow("stdin blank lines skipped") << QStringList{} << "1\n\n \t \r\n\r\n2\n" << "= 1\n= 2\n" << 0;
        QTest::newRow("empty argument fails") << QStringList{"1", "", "  "} << "" << "= 1\nError\nError\n" << 1;
        QTest::newRow("bare") << QStringList{"--bare", "--", "1234.5678", "-1234567 / 3", "1/0", "0"} << ""
                              << "1234.57\n-411522.33\nError\n0\n" << 1;
        QTest::newRow("bare, auto, exponent") << QStringList{"--bare", "--decimals=auto", "2^70"} << ""
                                              << "1.18059162071741E+21\n" << 0;
        QTest::newRow("bare why") << QStringList{"--bare", "--why", "1/0"} << "" << "Error: 11 Division by zero\n" << 1;
        // Names in descriptions: kept up to 43 bytes, longer ones cut to 40 and "...".
        QTest::newRow("why, name kept") << QStringList{"--why", QString(43, 'b') + "(1)"} << ""
                                        << "Error: 13 Type mismatch: '" + QString(43, 'B') + "'\n" << 1;
        QTest::newRow("why, name cut") << QStringList{"--why", QString(5000, 'b') + "(1)"} << ""
                                       << "Error: 13 Type mismatch: '" + QString(40, 'B') + "...'\n" << 1;
        // A text left out of InStr's four-argument form once freed the same memory twice.
        QTest::newRow("why, InStr without its text") << QStringList{"--why", "InStr(2, String(100,\"a\"), , 1)"} << ""
                                                     << "Error: 449 Argument not optional: 'INSTR'\n" << 1;
        // Any description on one line: control characters escaped, a long one cut like a name.
        QTest::newRow("why, raised with line breaks")
            << QStringList{"--why", "Err.Raise(5, , \"a\" & vbCrLf & \"b\" & vbTab & Chr(27) & ChrW(&H85) & \"\\c\")"} << ""
            << "Error: 5 A\\r\\nB\\t\\x1B\\u0085\\\\C\n" << 1;
        QTest::newRow("why, raised long") << QStringList{"--why", "Err.Raise(5, , String(300000, \"x\") & vbLf)"} << ""
                                          << "Error: 5 " + QString(200, 'X') + "...\n" << 1;
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
        QVERIFY(r.out.find("the results could not be written") != std::string::npos);
        Run v = run({"--version", "1/0"});
        QCOMPARE(v.status, 0);
        QCOMPARE(v.out, std::string("numerette-eval 9.19\n"));
    }

    // Over the bound, a line fails as the engine does without memory, and the stream goes on.
    void longLines_data()
    {
        QTest::addColumn<int>("length");
        QTest::addColumn<QString>("line2");
        const int bound = 1 << 20;
        QTest::newRow("at the bound") << bound << "= 7";
        QTest::newRow("at the bound, CR LF") << -bound << "= 7";
        QTest::newRow("one over") << bound + 1 << "Error: 7 Out of memory";
        QTest::newRow("16 MiB") << 16 * bound << "Error: 7 Out of memory";
    }

    void longLines()
    {
        QFETCH(int, length);
        // "7" and spaces, so that a line within the bound calculates (the spaces are trimmed).
        const std::string line = '7' + std::string(std::size_t(std::abs(length)) - 1, ' ');
        const std::string input = "1\n" + line + (length < 0 ? "\r\n" : "\n") + "2\n";
        Run r = run({"--why"}, input);
        QFETCH(QString, line2);
        QCOMPARE(QString::fromStdString(r.out), "= 1\n" + line2 + "\n= 2\n");
    }

    // A stream that fails to take the results: status 2 and a message, not success.
    void writeFailure()
    {
        std::vector<std::string_view> arguments{"1", "2"};
        std::istringstream in;
        std::ostringstream out, err;
        out.setstate(std::ios::badbit);
        QCOMPARE(cli::runCommandLine(arguments, in, out, err), 2);
        QVERIFY(err.str().starts_with("numerette-eval: cannot write the results"));

        QProcess process;
        process.setStandardOutputFile(QStringLiteral("/dev/full"));
        process.start(NUMERETTE_EVAL_PATH, {"1+1"});
        QVERIFY(process.waitForFinished(10000));
        QCOMPARE(process.exitCode(), 2);
        QCOMPARE(process.readAllStandardError(), QByteArray("numerette-eval: cannot write the results: No space left on device\n"));
    }

    // A program that waits for each answer gets it at once with --line-buffered; a pipe without
    // it is block-buffered, so the answer arrives only at the end.
    void lineBufferedPipe()
    {
        QProcess process;
        process.start(NUMERETTE_EVAL_PATH, {"--line-buffered"});
        QVERIFY(process.waitForStarted());
        for (const char *question : {"6 * 7\n", "1/0\n"}) {
            process.write(question);
            QVERIFY(process.waitForReadyRead(10000));
            while (!process.canReadLine() && process.waitForReadyRead(10000)) {
            }
            QVERIFY(process.canReadLine());
        }
        QCOMPARE(process.readAllStandardOutput(), QByteArray("= 42\nError\n"));
        process.closeWriteChannel();
        QVERIFY(process.waitForFinished(10000));
        QCOMPARE(process.exitCode(), 1);
    }

    // On a terminal each result shows as soon as its line is read.
    void terminalFlushesEachLine()
    {
        const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
        QVERIFY(master >= 0);
        QVERIFY(::grantpt(master) == 0 && ::unlockpt(master) == 0);
        const QByteArray slaveName = ::ptsname(master);
        int input[2];
        QCOMPARE(::pipe(input), 0);
        const pid_t child = ::fork();
        QVERIFY(child >= 0);
        if (child == 0) {
            ::setsid();
            const int slave = ::open(slaveName.constData(), O_RDWR);
            ::dup2(input[0], STDIN_FILENO);
            ::dup2(slave, STDOUT_FILENO);
            ::close(input[1]);
            ::execl(NUMERETTE_EVAL_PATH, NUMERETTE_EVAL_PATH, static_cast<char *>(nullptr));
            ::_exit(127);
        }
        ::close(input[0]);
        QCOMPARE(::write(input[1], "6 * 7\n", 6), ssize_t(6));
        // The answer arrives while standard input is still open.
        QByteArray seen;
        for (int waited = 0; !seen.contains("= 42") && waited < 100; ++waited) {
            pollfd p{master, POLLIN, 0};
            if (::poll(&p, 1, 100) > 0) {
                char buffer[256];
                const ssize_t n = ::read(master, buffer, sizeof buffer);
                if (n > 0)
                    seen.append(buffer, n);
            }
        }
        ::close(input[1]);
        int status = 0;
        ::waitpid(child, &status, 0);
        ::close(master);
        QVERIFY2(seen.contains("= 42"), seen.constData());
        QVERIFY(WIFEXITED(status) && WEXITSTATUS(status) == 0);
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
