#include "ValueRows.h"

#include "eval/NumberText.h"
#include "eval/ScriptControl.h"

#include <QTest>

#include <string>

using namespace valuerows;

class TestStrings : public QObject
{
    Q_OBJECT

private slots:
    // Facts from the language's own test scripts as run on Windows, and its reference.
    void search_data()
    {
        valueColumns();
        row("InStr(\"abcd\", \"bc\")", "Long", "2");
        row("InStr(1, \"abcd\", \"bc\")", "Long", "2");
        row("InStr(3, \"abcd\", \"bc\")", "Long", "0");
        row("InStr(5, \"abcd\", \"bc\")", "Long", "0");
        row("InStr(\"abcd\", Null)", "Null", "Null");
        row("InStr(Null, \"abcd\")", "Null", "Null");
        row("InStr(2, Null, \"abcd\")", "Null", "Null");
        row("InStr(2, \"abcd\", Null, 0)", "Null", "Null");
        row("InStr(1.3, \"abcd\", \"bc\")", "Long", "2");
        row("InStr(2.6, \"abcd\", \"bc\")", "Long", "0");
        row("InStr(3, \"abcdefgh\", \"FG\", 0)", "Long", "0");
        row("InStr(3, \"abcdefgh\", \"FG\", 1)", "Long", "6");
        row("InStr(3, \"abcdefgh\", \"FG\", 1.4)", "Long", "6");
        row("InStr(3, \"abcdefgh\", \"FG\", -0.3)", "Long", "0");
        row("InStr(2, \"abcABC\", \"aB\", 1)", "Long", "4");
        row("InStr(1, \"abc\" & Chr(0) & \"ABC\", Chr(0) & \"a\", 1)", "Long", "4");
        row("InStr(1, 23456, 45, 0)", "Long", "3");
        row("InStr(4, \"abcdef\", \"\", 0)", "Long", "4");
        row("InStr(20, \"abcdef\", \"\", 0)", "Long", "0");
        row("InStr(4, \"\", \"\", 0)", "Long", "0");
        row("InStr(\"h\xc3\xa9llo\", \"llo\")", "Long", "3"); // é is one unit, two bytes
        row("InStr(\"\xf0\x9f\x98\x80x\", \"x\")", "Long", "3");  // an emoji is two units
        row("InStr(1, \"\xc3\x89T\xc3\x89\", \"\xc3\xa9t\", 1)", "Long", "1");
        row("InStrRev(\"bcabcd\", \"bc\")", "Long", "4");
        row("InStrRev(\"bcabcd\", \"bc\", 6)", "Long", "4");
        row("InStrRev(\"abcd\", \"bc\", 3)", "Long", "2");
        row("InStrRev(\"abcd\", \"bc\", 2)", "Long", "0");
        row("InStrRev(\"abcd\", \"bc\", 5)", "Long", "0");
        row("InStrRev(\"abcd\", \"bc\", 2.6)", "Long", "2");
        row("InStrRev(1234, 34)", "Long", "3");
        row("InStrRev(\"abcd\", \"A\", 1, 0)", "Long", "0");
        row("InStrRev(\"abcd\", \"A\", 1, 1)", "Long", "1");
        row("InStrRev(\"abcd\", \"Ab\", -1, 1)", "Long", "1");
        row("InStrRev(\"abcd\", \"cd\", 3, 1)", "Long", "0");
        row("InStrRev(\"abcd\", \"cd\", 4, 1)", "Long", "3");
        row("InStrRev(\"abc\" & Chr(0) & \"A\" & Chr(0) & \"BC\", \"c\", 8, 0)", "Long", "3");
        row("InStrRev(\"\", \"hi\", 1, 0)", "Long", "0");
        row("InStrRev(\"abcd\", \"\", 3, 1)", "Long", "3");
        row("InStrRev(\"abcd\", \"\")", "Long", "4");
        row("InStrRev(\"\", \"\", 3, 0)", "Long", "0");
        row("InStrRev(\"\xf0\x9f\x98\x80x\xf0\x9f\x98\x80x\", \"x\", 5)", "Long", "3");
        row("StrComp(\"ABC\", \"abc\", 0)", "Integer", "-1");
        row("StrComp(\"abc\", \"ABC\")", "Integer", "1");
        row("StrComp(\"ABC\", \"abc\", 1)", "Integer", "0");
        row("StrComp(\"ABCD\", \"ABC\", 1)", "Integer", "1");
        row("StrComp(\"ABC\", \"ABCD\", \"1\")", "Integer", "-1");
        row("StrComp(\"1\", 1.0, 1)", "Integer", "0");
        row("StrComp(Empty, \"\", 1)", "Integer", "0");
        row("StrComp(Empty, \"ABC\", 1)", "Integer", "-1");
        row("StrComp(\"_\", \"a\", 1)", "Integer", "-1"); // letters compare as lower case
        row("StrComp(Null, \"a\")", "Null", "Null");
        row("StrComp(\"\xc3\x84\", \"\xc3\xa4\", 1)", "Integer", "0");
    }
    void search() { checkValue(); }

    void replace_data()
    {
        valueColumns();
        row("Replace(\"xx testxx(xx)\", \"xx\", \"!\")", "String", "! test!(!)");
        row("Replace(\"\", \"x\", \"y\")", "String", "");
        row("Replace(\"xxx\", \"\", \"y\")", "String", "xxx");
        row("Replace(\"yxxy\", \"x\", \"\")", "String", "yy");
        row("Replace(\"xxxxx\", \"xx\", \"y\")", "String", "yyx");
        row("Replace(123, 2, 6)", "String", "163");
        row("Replace(\"xx testxx(xx)\", \"xx\", \"!\", 2)", "String", "x test!(!)");
        row("Replace(\"xx testxx(xx)\", \"xx\", \"!\", 2000)", "String", "");
        row("Replace(\"xxx\", \"\", \"y\", 2)", "String", "xx");
        row("Replace(\"xx testxx(xx)\", \"xx\", \"!\", 1, 2)", "String", "! test!(xx)");
        row("Replace(\"xx testxx(xx)\", \"xx\", \"!\", 2, 1)", "String", "x test!(xx)");
        row("Replace(\"xx testxx(xx)\", \"xx\", \"!\", 1, -1)", "String", "! test!(!)");
        row("Replace(\"xx testxx(xx)\", \"xx\", \"!\", 1, 0)", "String", "xx testxx(xx)");
        row("Replace(\"Aa testAAa(aa)\", \"aa\", \"!\", 1, 2, 1)", "String", "! test!a(aa)");
        row("Replace(\"aa testAa(aa)\", \"aa\", \"!\", 2, 2, 0)", "String", "a testAa(!)");
        row("Replace(\"aa testaa(aa)\", \"A\", \"!\", 1, -1, 1)", "String", "!! test!!(!!)");
        row("Replace(\"\xc3\xa9t\xc3\xa9\", \"\xc3\x89\", \"e\", 1, -1, 1)", "String", "ete");
        row("Replace(\"\xf0\x9f\x98\x80" "ab\", \"b\", \"c\", 3)", "String", "ac");
        // Arguments left out in the middle keep their defaults.
        row("Replace(\"abcb\", \"b\", \"x\", , 1)", "String", "axcb");
        row("Replace(\"aBc\", \"b\", \"x\", , , 1)", "String", "axc");
        row("InStrRev(\"abcb\", \"B\", , 1)", "Long", "4");
        row("Split(\"a b c\", , 2)(1)", "String", "b c");
        row("Filter(Array(\"ab\", \"c\"), \"A\", , 1)(0)", "String", "ab");
    }
    void replace() { checkValue(); }

    void unitsAndBytes_data()
    {
        valueColumns();
        row("AscW(\"A\")", "Integer", "65");
        row("AscW(\"\xe2\x82\xac\")", "Integer", "8364");
        row("AscW(ChrW(-1))", "Integer", "-1");
        row("AscW(ChrW(&HD83D))", "Integer", "-10179");
        row("AscW(\"\xf0\x9f\x98\x80\")", "Integer", "-10179"); // the first unit of the pair
        row("ChrW(8364)", "String", "\xe2\x82\xac");
        row("ChrW(&HD83D) & ChrW(&HDE00)", "String", "\xf0\x9f\x98\x80");
        row("LenB(\"abc\")", "Long", "6");
        row("LenB(\"\xf0\x9f\x98\x80\")", "Long", "4");
        row("LenB(Null)", "Null", "Null");
        row("LenB(ChrB(65))", "Long", "1");
        row("LenB(ChrB(65) & \"\")", "Long", "1");
        row("ChrB(65) & ChrB(0)", "String", "A");
        row("LenB(\"a\" & ChrB(65) & \"b\")", "Long", "5");
        row("AscB(MidB(\"a\" & ChrB(65) & \"b\", 4))", "Integer", "98");
        row("AscB(\"A\")", "Integer", "65");
        row("AscB(\"\xe2\x82\xac\")", "Integer", "172"); // 0x20AC, low byte first
        row("AscB(ChrB(200))", "Integer", "200");
        row("AscB(MidB(\"abc\", 2, 1))", "Integer", "0");
        row("MidB(\"abc\", 3)", "String", "bc");
        row("MidB(\"abc\", 3, 2)", "String", "b");
        row("LenB(MidB(\"abc\", 2))", "Long", "5");
        row("LeftB(\"abc\", 4)", "String", "ab");
        row("LenB(LeftB(\"abc\", 3))", "Long", "3");
        row("RightB(\"abc\", 2)", "String", "c");
        row("RightB(\"abc\", 10)", "String", "abc");
        row("LeftB(Null, 1)", "Null", "Null");
        row("InStrB(\"abc\", \"b\")", "Long", "3");
        row("InStrB(\"abc\", ChrB(0))", "Long", "2");
        row("InStrB(4, \"abc\", \"c\")", "Long", "5");
        row("InStrB(1, \"abc\", \"B\", 1)", "Long", "3");
        row("InStrB(\"abc\", Null)", "Null", "Null");
    }
    void unitsAndBytes() { checkValue(); }

    void escapes_data()
    {
        valueColumns();
        row("Escape(\"aZ09@*_+-./\")", "String", "aZ09@*_+-./");
        row("Escape(\"a b&c=d%\")", "String", "a%20b%26c%3Dd%25");
        row("Escape(\"\xc3\xa9\xe2\x82\xac\")", "String", "%E9%u20AC");
        row("Escape(\"\xf0\x9f\x98\x80\")", "String", "%uD83D%uDE00");
        row("Escape(Null)", "Null", "Null");
        row("Escape(1.5)", "String", "1.5");
        row("Unescape(\"%41%u20AC\")", "String", "A\xe2\x82\xac");
        row("Unescape(\"%uD83D%uDE00\")", "String", "\xf0\x9f\x98\x80");
        row("Unescape(\"100%\")", "String", "100%");
        row("Unescape(\"%zz%4%u12\")", "String", "%zz%4%u12");
        row("Unescape(Escape(\"a b\xc3\xa9\"))", "String", "a b\xc3\xa9");
        row("Unescape(Null)", "Null", "Null");
    }
    void escapes() { checkValue(); }

    void errors_data()
    {
        errorColumns();
        fails("InStr(Null, \"abcd\", \"abcd\", 0)", 94);
        fails("InStr(2, \"abcd\", \"abcd\", Null)", 94);
        fails("InStr(-20, \"abcd\", \"abcd\", 1)", 5);
        fails("InStr(0, \"abcd\", \"b\")", 5);
        fails("InStr(2, \"abcd\", \"abcd\", 10)", 5);
        fails("InStr(1, \"a\", \"b\", 2)", 5);
        fails("InStr(\"a\")", 450);
        fails("InStr(1, \"a\", \"b\", 0, 1)", 450);
        fails("InStrRev(\"abcd\", Null, 2, 0)", 94);
        fails("InStrRev(Null, \"abcd\")", 94);
        fails("InStrRev(\"abcd\", \"abcd\", Null, 0)", 94);
        fails("InStrRev(\"abcd\", \"abcd\", 2, Null)", 94);
        fails("InStrRev(\"abcd\", \"abcd\", -20, 1)", 5);
        fails("InStrRev(\"abcd\", \"b\", 0)", 5);
        fails("InStrRev(\"abcd\", \"abcd\", 2, 10)", 5);
        fails("Replace(\"xx\", \"x\", \"y\", -1)", 5);
        fails("Replace(\"xx\", \"x\", \"y\", 0)", 5);
        fails("Replace(\"xx\", \"x\", \"y\", 1, -2)", 5);
        fails("Replace(Null, \"x\", \"y\")", 94);
        fails("Replace(\"xx\", Null, \"y\", 1, 1, 0)", 94);
        fails("Replace(\"xx\", \"x\", Null, 1, 1, 0)", 94);
        fails("Replace(\"xx\", \"x\", \"y\", Null, 1, 0)", 94);
        fails("Replace(\"xx\", \"x\", \"y\", 1, Null, 0)", 94);
        fails("Replace(\"xx\", \"x\", \"y\", 1, 1, Null)", 94);
        fails("Replace(\"xx\", \"x\", \"y\", 1, 1, 8)", 5);
        fails("Replace(\"xx\", \"x\")", 450);
        fails("StrComp()", 450);
        fails("StrComp(\"a\", \"a\", 0, 1)", 450);
        fails("StrComp(\"a\", \"b\", 2)", 5);
        fails("StrComp(\"a\", \"b\", Null)", 94);
        fails("AscW(\"\")", 5);
        fails("AscW(Null)", 94);
        fails("ChrW(65536)", 5);
        fails("ChrW(-32769)", 5);
        fails("ChrW(Null)", 94);
        fails("AscB(\"\")", 5);
        fails("ChrB(256)", 5);
        fails("ChrB(-1)", 5);
        fails("Mid(\"test\", \"a\", Null)", 94);
        fails("Mid(\"test\", 0, Null)", 94);
        fails("Mid(Null, -1, -1)", 5);
        fails("Mid(\"test\", \"a\", 1)", 13);
        fails("Right(Null, -1)", 5);
        fails("Left(Null, -1)", 5);
        fails("MidB(\"abc\", 0)", 5);
        fails("MidB(Null, -1)", 5);
        fails("MidB(\"abc\", 1, -1)", 5);
        fails("LeftB(\"abc\", -1)", 5);
        fails("RightB(Null, -1)", 5);
        fails("RightB(\"abc\", Null)", 94);
        fails("InStrB(0, \"abc\", \"b\")", 5);
        fails("UBound(Split(String(3000000, \"a\"), \"a\"))", 7);
        fails("Len(Replace(String(10000000, \"a\"), \"a\", String(10, \"b\")))", 7);
        fails("Len(Join(Split(String(1000000, \"a\"), \"a\"), String(100, \"b\")))", 7);
        fails("Escape()", 450);
        fails("Unescape(\"a\", \"b\")", 450);
    }
    void errors() { checkError(); }

    // Ten megabytes of the worst text for a naive search ("aaa...a" against "aaa...ab" and its
    // mirror image) must not take the product of the lengths: each call below would need about
    // 10^13 steps that way. No clock is read; a quadratic search would keep ctest waiting past
    // its time-out instead.
    void longTextStaysLinear_data()
    {
        QTest::addColumn<QByteArray>("expression");
        QTest::addColumn<QByteArray>("text");
        const QByteArray bigA("String(10000000, \"a\")"), needle("String(1000000, \"a\") & \"b\"");
        QTest::newRow("InStr") << "InStr(" + bigA + ", " + needle + ")" << QByteArray("0");
        QTest::newRow("InStr text") << "InStr(1, " + bigA + ", " + needle + ", 1)" << QByteArray("0");
        QTest::newRow("InStrRev") << "InStrRev(" + bigA + ", \"b\" & String(1000000, \"a\"))" << QByteArray("0");
        QTest::newRow("InStrRev found") << "InStrRev(\"b\" & " + bigA + ", \"b\" & String(1000000, \"a\"))"
                                        << QByteArray("1");
        QTest::newRow("Replace") << "Len(Replace(" + bigA + ", \"a\", \"bc\"))" << QByteArray("20000000");
        QTest::newRow("Replace long") << "Len(Replace(" + bigA + ", " + needle + ", \"x\"))" << QByteArray("10000000");
        QTest::newRow("Split") << "UBound(Split(" + bigA + ", \"aaaaaaaaaa\"))" << QByteArray("1000000");
        QTest::newRow("InStrB") << "InStrB(" + bigA + ", ChrB(98))" << QByteArray("0");
    }
    void longTextStaysLinear()
    {
        QFETCH(QByteArray, expression);
        QFETCH(QByteArray, text);
        eval::ScriptControl engine;
        const eval::EvalResult r = engine.Eval(expression.toStdString());
        QVERIFY2(r.ok, r.error.description.c_str());
        QCOMPARE(QByteArray(eval::NumberText(r.value).value_or("Null").c_str()), text);
    }
};

QTEST_GUILESS_MAIN(TestStrings)
#include "tst_strings.moc"
