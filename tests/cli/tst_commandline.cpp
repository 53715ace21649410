#include "cli/CommandLine.h"
#include "cli/LineReader.h"

#include <QProcess>
#include <QTest>

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
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

// Hands out its text a few bytes a read, then fails with `error` (or ends, with 0).
class ChunkedSource final : public cli::ByteSource
{
public:
    ChunkedSource(std::string text, std::size_t chunk, int error = 0)
        : text_(std::move(text)), chunk_(chunk), error_(error) {}

    std::ptrdiff_t read(char *buffer, std::size_t size, int &error) override
    {
        const std::size_t n = std::min({size, chunk_, text_.size() - at_});
        if (n == 0 && error_ != 0) {
            error = error_;
            return -1;
        }
        text_.copy(buffer, n, at_);
        at_ += n;
        return static_cast<std::ptrdiff_t>(n);
    }

private:
    std::string text_;
    std::size_t chunk_;
    int error_;
    std::size_t at_ = 0;
};

Run runSource(const std::vector<std::string_view> &arguments, cli::ByteSource &in)
{
    std::ostringstream out, err;
    Run r;
    r.status = cli::runCommandLine(arguments, in, out, err);
    r.out = out.str();
    r.err = err.str();
    return r;
}

enum class Input { Pipe, Closed, Folder };
enum class Output { Pipe, Closed, Full };

struct ProgramRun
{
    bool exited = false; // false when a signal ended it
    int status = -1;
    std::string out;
    std::string err;
};

std::string readAll(int descriptor)
{
    std::string text;
    char buffer[4096];
    for (ssize_t n; (n = ::read(descriptor, buffer, sizeof buffer)) > 0;)
        text.append(buffer, std::size_t(n));
    ::close(descriptor);
    return text;
}

// The real program with its standard input and output as a shell script may leave them.
ProgramRun runProgram(const QStringList &arguments, Input input, Output output, const std::string &text = {})
{
    std::vector<std::string> storage{NUMERETTE_EVAL_PATH};
    for (const QString &a : arguments)
        storage.push_back(a.toStdString());
    std::vector<char *> argv;
    for (std::string &a : storage)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    int in[2], out[2], err[2];
    if (::pipe(in) != 0 || ::pipe(out) != 0 || ::pipe(err) != 0)
        return {};
    const pid_t child = ::fork();
    if (child == 0) {
        ::dup2(in[0], STDIN_FILENO);
        ::dup2(out[1], STDOUT_FILENO);
        ::dup2(err[1], STDERR_FILENO);
        for (int d : {in[0], in[1], out[0], out[1], err[0], err[1]})
            ::close(d);
        if (input == Input::Closed)
            ::close(STDIN_FILENO);
        if (input == Input::Folder)
            ::dup2(::open("/", O_RDONLY | O_DIRECTORY), STDIN_FILENO);
        if (output == Output::Closed)
            ::close(STDOUT_FILENO);
        if (output == Output::Full)
            ::dup2(::open("/dev/full", O_WRONLY), STDOUT_FILENO);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    ::close(in[0]);
    ::close(out[1]);
    ::close(err[1]);
    // A program that reads nothing may be gone before its input is written.
    const sighandler_t before = ::signal(SIGPIPE, SIG_IGN);
    if (!text.empty())
        (void)!::write(in[1], text.data(), text.size());
    ::close(in[1]);
    ::signal(SIGPIPE, before);
    ProgramRun r;
    r.out = readAll(out[0]);
    r.err = readAll(err[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    r.exited = WIFEXITED(status);
    r.status = r.exited ? WEXITSTATUS(status) : -1;
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
        QTest::newRow("stdin byte-order mark skipped") << QStringList{} << "\xEF\xBB\xBF" "1+1\n2\n" << "= 2\n= 2\n" << 0;
        QTest::newRow("byte-order mark only at the start") << QStringList{"--why"} << "1\n\xEF\xBB\xBF" "2\n"
                                                           << "= 1\nError: 1032 Invalid character\n" << 1;
        QTest::newRow("values") << QStringList{"--values", "DateSerial(2024, 6, 13)", "1 < 2", "\"x y, z\"", "\"12\"", "1234.5"}
                                << "" << "= 6/13/2024\n= True\n= X Y, Z\n= 12\n= 1,234.5\n" << 0;
        QTest::newRow("values, bare: texts kept whole") << QStringList{"--values", "--bare", "\"a, b = c\"", "1234.5"} << ""
                                                        << "A, B = C\n1234.5\n" << 0;
        QTest::newRow("values, Null still fails") << QStringList{"--values", "--why", "Null"} << ""
                                                  << "Error: 94 Invalid use of Null\n" << 1;
        QTest::newRow("without values, a date fails") << QStringList{"DateSerial(2024, 6, 13) & \"\""} << "" << "Error\n" << 1;
        QTest::newRow("shortened options") << QStringList{"--dec=0", "--b", "--li", "1234.5"} << "" << "1235\n" << 0;
        QTest::newRow("shortened option, value apart") << QStringList{"--deci", "auto", "1/4"} << "" << "= 0.25\n" << 0;
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

    // An undefined name is Empty; --why warns of it, --strict makes it the language's error 500.
    void undefinedNames_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("output");
        QTest::addColumn<QString>("warning");
        QTest::addColumn<int>("status");
        QTest::newRow("silent") << QStringList{"pi * 2"} << "= 0\n" << "" << 0;
        QTest::newRow("why warns") << QStringList{"--why", "pi * 2", "1 + 1"} << "= 0\n= 2\n"
                                   << "numerette-eval: warning: PI is not a name the language knows; it counted as 0\n"
                                   << 0;
        QTest::newRow("strict") << QStringList{"--strict", "pi * 2", "1 + 1"} << "Error\n= 2\n" << "" << 1;
        QTest::newRow("strict why") << QStringList{"--strict", "--why", "x + 1/0"}
                                    << "Error: 500 Variable is undefined: 'X'\n" << "" << 1;
        // A runtime error before the name, or a syntax error anywhere, comes first.
        QTest::newRow("strict, failure first") << QStringList{"--strict", "--why", "1/0 + x"}
                                               << "Error: 11 Division by zero\n" << "" << 1;
        QTest::newRow("strict, syntax error") << QStringList{"--strict", "--why", "x + (1"}
                                              << "Error: 1006 Expected ')'\n" << "" << 1;
    }
    void undefinedNames()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, output);
        QFETCH(QString, warning);
        QFETCH(int, status);
        Run r = run(arguments, "");
        QCOMPARE(QString::fromStdString(r.out), output);
        QCOMPARE(QString::fromStdString(r.err), warning);
        QCOMPARE(r.status, status);
    }

    void badUsage_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("unknown option") << QStringList{"--frobnicate"};
        QTest::newRow("expression starting with minus") << QStringList{"-2^2"};
        QTest::newRow("decimals out of range") << QStringList{"--decimals", "10", "1"};
        QTest::newRow("decimals not a number") << QStringList{"--decimals", "two", "1"};
        QTest::newRow("decimals without value") << QStringList{"--decimals"};
        QTest::newRow("ambiguous shortening") << QStringList{"--v", "1"};
        QTest::newRow("shortening of nothing known") << QStringList{"--whyy", "1"};
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
        QVERIFY(v.out.starts_with("numerette-eval 9.19\nCopyright (C) "));
        QVERIFY(v.out.find("License MIT") != std::string::npos);
    }

    // Bytes that are not UTF-8 fail their own line, with the reason on standard error; the
    // stream goes on.
    void notUtf8_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QString>("output");
        QTest::addColumn<QString>("message");
        QTest::newRow("FF FE in a text") << QStringList{"--why"} << QByteArray("1\nLen(\"\xFF\xFE\")\n2\n")
                                         << "= 1\nError: not UTF-8 text\n= 2\n" << "line 2: not UTF-8 text";
        QTest::newRow("Latin-1 letter") << QStringList{} << QByteArray("\"caf\xE9\"\n") << "Error\n"
                                        << "line 1: not UTF-8 text";
        QTest::newRow("overlong form") << QStringList{} << QByteArray("\n\n\xC0\xAF\n") << "Error\n"
                                       << "line 3: not UTF-8 text";
        QTest::newRow("cut at the end") << QStringList{} << QByteArray("1\n\xE2\x82") << "= 1\nError\n"
                                        << "line 2: not UTF-8 text";
        QTest::newRow("argument") << QStringList{"1", QString::fromLatin1("\"\xFF\"")} << QByteArray()
                                  << "= 1\nError\n" << "argument 2: not UTF-8 text";
    }

    void notUtf8()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, input);
        std::vector<std::string> storage;
        for (const QString &a : arguments)
            storage.push_back(a == QString::fromLatin1("\"\xFF\"") ? std::string("\"\xFF\"") : a.toStdString());
        std::vector<std::string_view> views(storage.begin(), storage.end());
        ChunkedSource source(input.toStdString(), 4096);
        Run r = runSource(views, source);
        QFETCH(QString, output);
        QFETCH(QString, message);
        QCOMPARE(QString::fromStdString(r.out), output);
        QCOMPARE(QString::fromStdString(r.err), "numerette-eval: " + message + "\n");
        QCOMPARE(r.status, 1);
    }

    // Lines come out the same however the reads cut the input: a byte-order mark, a CR LF or
    // a line end split between two reads.
    void readsCutAnywhere_data()
    {
        QTest::addColumn<int>("chunk");
        for (int chunk : {1, 2, 3, 5, 64 * 1024})
            QTest::newRow(qPrintable(QString::number(chunk))) << chunk;
    }

    void readsCutAnywhere()
    {
        QFETCH(int, chunk);
        const std::string input = "\xEF\xBB\xBF" "1+1\r\n\r\n  \n2 * 3\n" + std::string(300, ' ') + "4\r\n5";
        ChunkedSource source(input, std::size_t(chunk));
        Run r = runSource({}, source);
        QCOMPARE(r.out, std::string("= 2\n= 6\n= 4\n= 5\n"));
        QCOMPARE(r.status, 0);
        // A last line without its line end, read in pieces after lines that were handed out.
        ChunkedSource tail("1\n2\n30 + 4 * 3", std::size_t(chunk));
        QCOMPARE(runSource({}, tail).out, std::string("= 1\n= 2\n= 42\n"));
    }

    // A failed read: the results before it are written, the system's reason is told, and
    // the status is 2 (never an abort).
    void readFailure_data()
    {
        QTest::addColumn<int>("input");
        QTest::addColumn<QString>("reason");
        QTest::newRow("folder") << int(Input::Folder) << "Is a directory";
        QTest::newRow("closed descriptor") << int(Input::Closed) << "Bad file descriptor";
    }

    void readFailure()
    {
        QFETCH(int, input);
        QFETCH(QString, reason);
        ProgramRun r = runProgram({"--why"}, Input(input), Output::Pipe);
        QVERIFY(r.exited);
        QCOMPARE(r.status, 2);
        QCOMPARE(QString::fromStdString(r.err), "numerette-eval: cannot read the expressions: " + reason + "\n");
        // An expression given as an argument never reads standard input.
        ProgramRun a = runProgram({"6*7"}, Input(input), Output::Pipe);
        QCOMPARE(a.status, 0);
        QCOMPARE(a.out, std::string("= 42\n"));
        QVERIFY(a.err.empty());
    }

    void readErrorMidFile()
    {
        std::string input;
        for (int i = 1; i <= 186; ++i)
            input += std::to_string(i) + "\n";
        input += "18"; // half a line when the disk fails
        ChunkedSource source(input, 100, EIO);
        Run r = runSource({"--decimals=0"}, source);
        QCOMPARE(r.status, 2);
        QCOMPARE(std::count(r.out.begin(), r.out.end(), '\n'), 186);
        QVERIFY(r.out.ends_with("= 185\n= 186\n"));
        QCOMPARE(r.err, std::string("numerette-eval: cannot read the expressions: Input/output error\n"));
    }

    // Every option, with standard input or output closed or failing: the program always
    // ends by itself, with 2 whenever it could not read or write what it had to.
    void everyOptionWithBrokenStreams_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("readsInput");
        QTest::newRow("none") << QStringList{} << true;
        QTest::newRow("why") << QStringList{"--why"} << true;
        QTest::newRow("bare") << QStringList{"--bare"} << true;
        QTest::newRow("values") << QStringList{"--values"} << true;
        QTest::newRow("line-buffered") << QStringList{"--line-buffered"} << true;
        QTest::newRow("decimals") << QStringList{"--decimals", "auto"} << true;
        QTest::newRow("help") << QStringList{"--help"} << false;
        QTest::newRow("-h") << QStringList{"-h"} << false;
        QTest::newRow("version") << QStringList{"--version"} << false;
        QTest::newRow("expressions") << QStringList{"--why", "1/0", "2"} << false;
        QTest::newRow("line-buffered expressions") << QStringList{"--line-buffered", "1", "2"} << false;
        QTest::newRow("bad usage") << QStringList{"--frobnicate"} << false;
    }

    void everyOptionWithBrokenStreams()
    {
        QFETCH(QStringList, arguments);
        QFETCH(bool, readsInput);
        const bool badUsage = arguments.contains("--frobnicate");
        for (Input input : {Input::Pipe, Input::Closed, Input::Folder}) {
            for (Output output : {Output::Pipe, Output::Closed, Output::Full}) {
                const ProgramRun r = runProgram(arguments, input, output, "1\n1/0\n");
                const QByteArray where = "input " + QByteArray::number(int(input)) + ", output " +
                                         QByteArray::number(int(output)) + ": " + QByteArray::fromStdString(r.err);
                QVERIFY2(r.exited, where.constData());
                const bool failing = badUsage || output != Output::Pipe || (readsInput && input != Input::Pipe);
                if (failing)
                    QVERIFY2(r.status == 2, where.constData());
                else
                    QVERIFY2(r.status == 0 || r.status == 1, where.constData());
                QVERIFY2(r.err.find("terminate") == std::string::npos, where.constData());
            }
        }
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
