#include "ValueRows.h"

#include "eval/Calculation.h"
#include "eval/Clock.h"
#include "eval/DecimalPlaces.h"
#include "eval/NumberText.h"
#include "eval/ScriptControl.h"

#include <QTest>

#include <cmath>
#include <ctime>

namespace {

using namespace valuerows;

// Tuesday, 8 December 2026, 7:42:02.5 in the morning: every test reads this clock, not the real one.
eval::ClockReading fixedClock()
{
    eval::ClockReading r;
    r.year = 2026, r.month = 12, r.day = 8;
    r.hour = 7, r.minute = 42, r.second = 2, r.millisecond = 500;
    return r;
}

} // namespace

class TestDates : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { eval::setClockSource(fixedClock); }
    void cleanupTestCase() { eval::setClockSource(nullptr); }

    void clock_data()
    {
        valueColumns();
        row("Now", "Date", "12/8/2026 7:42:02 AM");
        row("Date", "Date", "12/8/2026");
        row("Time", "Date", "7:42:02 AM");
        row("Now()", "Date", "12/8/2026 7:42:02 AM");
        row("Timer", "Single", "27722.5");
        row("CDbl(Date)", "Double", "46364");
        row("Year(Now)", "Integer", "2026");
        row("DateDiff(\"d\", #1/1/2026#, Date)", "Long", "341");
        row("DateSerial(2026, 12, 25) - Date", "Double", "17");
        row("Date + 1", "Date", "12/9/2026");
        row("Date - 1.5", "Date", "12/6/2026 12:00:00 PM");
        row("Now - Date > 0.32", "Boolean", "True");
    }
    void clock() { checkValue(); }

    void parts_data()
    {
        valueColumns();
        row("Year(2)", "Integer", "1900");
        row("Month(2)", "Integer", "1");
        row("Day(2)", "Integer", "1");
        row("Hour(2.75)", "Integer", "18");
        row("Minute(2.02083)", "Integer", "30"); // the time rounds to the second
        row("Second(#1:02:03 PM#)", "Integer", "3");
        row("Day(0.99999999)", "Integer", "31");
        row("Hour(-1.75)", "Integer", "18"); // before day 0 the time still runs forward
        row("Year(\"Dec 25 2026\")", "Integer", "2026");
        row("Year(Null)", "Null", "Null");
        row("Year(-657434)", "Integer", "100");
        row("Year(2958465)", "Integer", "9999");
        // A time rounding up to midnight starts the next day, also before day 0 ...
        row("Day(-1.99999999)", "Integer", "30");
        row("Day(-0.99999999)", "Integer", "31");
        row("CStr(CDate(-2.99999999))", "String", "12/29/1899");
        // ... but never past 31 December 9999, where the dates end.
        row("Year(2958465.99999999)", "Integer", "9999");
        row("Second(2958465.99999999)", "Integer", "59");
        row("Weekday(2958465.99999999)", "Integer", "6");
        row("FormatDateTime(2958465.99999999)", "String", "12/31/9999 11:59:59 PM");
        row("DateValue(2958465.99999999)", "Date", "12/31/9999");
        row("Weekday(DateSerial(2000, 1, 1))", "Integer", "7");
        row("Weekday(DateSerial(2000, 1, 1), 2)", "Integer", "6");
        row("Weekday(DateSerial(2000, 1, 1), 7)", "Integer", "1");
        row("Weekday(DateSerial(2000, 1, 1), 0)", "Integer", "7");
        row("Weekday(Null, 1)", "Null", "Null");
    }
    void parts() { checkValue(); }

    void building_data()
    {
        valueColumns();
        row("DateSerial(2026, 12, 25)", "Date", "12/25/2026");
        row("DateSerial(2000, 14, 2)", "Date", "2/2/2001");
        row("DateSerial(2026, -1, 1)", "Date", "11/1/2025");
        row("DateSerial(2026, 1, 0)", "Date", "12/31/2025");
        row("DateSerial(1990 - 10, 8 - 2, 1 - 1)", "Date", "5/31/1980");
        row("DateSerial(0, 2, 1)", "Date", "2/1/2000");
        row("DateSerial(50, 2, 1)", "Date", "2/1/1950");
        row("DateSerial(99, 13, 1)", "Date", "1/1/2000");
        row("DateSerial(100, 2, 1)", "Date", "2/1/100");
        row("DateSerial(-1, 1, 1)", "Date", "1/1/1999");
        row("DateSerial(9999, 12, 31)", "Date", "12/31/9999");
        row("DateSerial(2000.5, 2.5, 1.5)", "Date", "2/2/2000");
        row("DateSerial(\"2000\", \"1\", \"2\")", "Date", "1/2/2000");
        row("TimeSerial(10, 2, 1)", "Date", "10:02:01 AM");
        row("TimeSerial(25, 2, 1)", "Date", "12/31/1899 1:02:01 AM");
        row("TimeSerial(50, 2, 1)", "Date", "1/1/1900 2:02:01 AM");
        row("TimeSerial(10, 60, 2)", "Date", "11:00:02 AM");
        row("TimeSerial(12 - 6, -15, 0)", "Date", "5:45:00 AM");
        row("TimeSerial(-1, 0, 0)", "Date", "12/29/1899 11:00:00 PM");
        row("TimeSerial(0, 0, -1)", "Date", "12/29/1899 11:59:59 PM");
        row("DateValue(\"Dec 25 2026 1:00 PM\")", "Date", "12/25/2026");
        row("DateValue(#1/1/2000 10:00 PM#)", "Date", "1/1/2000");
        row("DateValue(Null)", "Null", "Null");
        row("TimeValue(\"Dec 25 2026 1:00 PM\")", "Date", "1:00:00 PM");
        row("TimeValue(\"10:00\")", "Date", "10:00:00 AM");
        row("TimeValue(Null)", "Null", "Null");
    }
    void building() { checkValue(); }

    // The en-US forms a date text may take; the serials are those the system's own reading gives.
    void texts_data()
    {
        valueColumns();
        row("CDate(\"Dec 25 2026\")", "Date", "12/25/2026");
        row("CDate(\"DEC 25 2026\")", "Date", "12/25/2026");
        row("CDate(\"25 December 2026\")", "Date", "12/25/2026");
        row("CDate(\"December 25, 2026\")", "Date", "12/25/2026");
        row("CDate(\"Friday, December 25, 2026 1:02:03 PM\")", "Date", "12/25/2026 1:02:03 PM");
        row("CDate(\"2026-12-25 13:02\")", "Date", "12/25/2026 1:02:00 PM");
        row("CDate(\"25-Dec-2026\")", "Date", "12/25/2026");
        row("CDate(\"13/1/2000\")", "Date", "1/13/2000");
        row("CDate(\"12/2026\")", "Date", "12/1/2026");
        row("CDate(\"1\")", "Date", "12/31/1899");
        row("CDbl(CDate(\"1 am\"))", "Double", "0.0416666666666667");
        row("CDbl(CDate(\"2.5\"))", "Double", "0.0868055555555556"); // a point separates hours and minutes
        row("CDbl(CDate(\"00:00 p\"))", "Double", "0.5");
        row("CDbl(CDate(\"12:59 AM\"))", "Double", "0.0409722222222222");
        row("CDbl(CDate(\"13:00 AM\"))", "Double", "0.541666666666667");
        row("CDate(\"1 2\")", "Date", "1/2/2026");
        row("CDate(\"14 1\")", "Date", "1/14/2026");
        row("CDbl(CDate(\"30 2\"))", "Double", "10990");
        row("CDbl(CDate(\"2 30\"))", "Double", "10990");
        row("CDate(\"Jan 2\")", "Date", "1/2/2026");
        row("CDbl(CDate(\"Jan 35\"))", "Double", "12785");
        row("CDbl(CDate(\"35/Jan\"))", "Double", "12785");
        row("CDbl(CDate(\"1 2 3\"))", "Double", "37623");
        row("CDbl(CDate(\"14 2 3\"))", "Double", "41673");
        row("CDbl(CDate(\"2 14 3\"))", "Double", "37666");
        row("CDbl(CDate(\"32 2 3\"))", "Double", "11722");
        row("CDbl(CDate(\"1 2 29\"))", "Double", "47120");
        row("CDbl(CDate(\"1 2 30\"))", "Double", "10960");
        row("CDate(\"3 am 1 2\")", "Date", "1/2/2026 3:00:00 AM");
        row("CDate(\"1.2.3 4 5\")", "Date", "4/5/2026 1:02:03 AM");
        row("CDbl(CDate(\"1 2 3 4.5.6\"))", "Double", "37623.1702083333");
        row("CDbl(CDate(\"2 January, 1970\"))", "Double", "25570");
        row("CDbl(CDate(\"2/Jan/1970\"))", "Double", "25570");
        row("#12/25/2026 1:02:03 PM#", "Date", "12/25/2026 1:02:03 PM");
        row("#Dec 25 2026#", "Date", "12/25/2026");
        row("IsDate(\"Dec 25 2026\")", "Boolean", "True");
        row("IsDate(\"February 29, 2000\")", "Boolean", "True");
        row("IsDate(#1/1/2000#)", "Boolean", "True");
        row("IsDate(Nothing)", "Boolean", "False");
        row("IsDate(CDate(1))", "Boolean", "True");
    }
    void texts() { checkValue(); }

    // Texts that are no date: IsDate says so, and CDate fails with Type mismatch unless the
    // text reads as a number of days.
    void notDates_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<bool>("number");
        // "1.1-" is the number -1.1: a sign may follow the digits (CDate("1-") is 12/29/1899 in
        // the OLE conversions).
        for (const char *text : {"4", "0", "0.", ".0", "-1.1", "0.60", "1.1-"})
            QTest::newRow(text) << QByteArray(text) << true;
        for (const char *text : {"", "x", "True", "1;2;3", "(1:2)", "24:00", "0:60", "1 2 am", "1 am 2",
                                 "1.5 2", "2 32 3", "1 2.3 4", "1 2 3 4", "1 am 2 3.4", "1.2.3.4", "32 49",
                                 "2/30/2000", "1/1/10000", "02.01.1970", "Sept 1 2026", "Dec Jan 1",
                                 "1/2/2000 25:00", "#1/1/2000#"})
            QTest::newRow(text) << QByteArray(text) << false;
    }
    void notDates()
    {
        QFETCH(QByteArray, text);
        QFETCH(bool, number);
        eval::ScriptControl engine;
        const std::string quoted = "\"" + text.toStdString() + "\"";
        const eval::EvalResult is = engine.Eval("IsDate(" + quoted + ")");
        QVERIFY(is.ok && is.value.type() == eval::VarType::Boolean);
        QVERIFY(!is.value.asBoolean());
        const eval::EvalResult converted = engine.Eval("CDate(" + quoted + ")");
        if (number) {
            QVERIFY(converted.ok);
        } else {
            QVERIFY(!converted.ok);
            QCOMPARE(converted.error.number, 13);
        }
    }

    void arithmetic_data()
    {
        valueColumns();
        row("DateAdd(\"yyyy\", 1, DateSerial(2000, 1, 1))", "Date", "1/1/2001");
        row("DateAdd(\"q\", 1, DateSerial(2000, 1, 1))", "Date", "4/1/2000");
        row("DateAdd(\"m\", -1, DateSerial(2000, 1, 1))", "Date", "12/1/1999");
        row("DateAdd(\"m\", 1, \"31-Jan-95\")", "Date", "2/28/1995"); // never an invalid date
        row("DateAdd(\"m\", 1, \"31-Jan-96\")", "Date", "2/29/1996");
        row("DateAdd(\"yyyy\", 1, #2/29/2000#)", "Date", "2/28/2001");
        row("DateAdd(\"Q\", 1, #11/30/2000 10:00 PM#)", "Date", "2/28/2001 10:00:00 PM");
        row("DateAdd(\"y\", 1, DateSerial(2000, 12, 31))", "Date", "1/1/2001");
        row("DateAdd(\"d\", -1, DateSerial(2000, 1, 1))", "Date", "12/31/1999");
        row("DateAdd(\"w\", 1, DateSerial(2000, 12, 31))", "Date", "1/1/2001");
        row("DateAdd(\"ww\", -1, DateSerial(2000, 1, 1))", "Date", "12/25/1999");
        row("DateAdd(\"h\", 25, #1/1/2000 11:00 PM#)", "Date", "1/3/2000");
        row("DateAdd(\"n\", 90, #1/1/2000#)", "Date", "1/1/2000 1:30:00 AM");
        row("DateAdd(\"s\", -1, #1/1/2000#)", "Date", "12/31/1999 11:59:59 PM");
        row("DateAdd(\"h\", -1, #12/30/1899#)", "Date", "12/29/1899 11:00:00 PM");
        row("DateAdd(\"h\", 1, CDate(-1.25))", "Date", "12/29/1899 7:00:00 AM");
        row("DateAdd(\"d\", 1.5, #1/1/2000#)", "Date", "1/3/2000"); // the count rounds half to even
        row("DateAdd(\"d\", 2.5, #1/1/2000#)", "Date", "1/3/2000");
        row("DateAdd(\"q\", 1, Null)", "Null", "Null");
        row("DateDiff(\"yyyy\", #12/31/2000#, #1/1/2001#)", "Long", "1");
        row("DateDiff(\"q\", #3/31/2000#, #4/1/2000#)", "Long", "1");
        row("DateDiff(\"m\", #1/31/2000#, #2/1/2000#)", "Long", "1");
        row("DateDiff(\"m\", #2/1/2000#, #1/31/2000#)", "Long", "-1");
        row("DateDiff(\"y\", #1/1/2000#, #3/1/2000#)", "Long", "60");
        row("DateDiff(\"d\", #1/1/2000 11:00 PM#, #1/2/2000 1:00 AM#)", "Long", "1");
        row("DateDiff(\"w\", #1/1/2000#, #1/14/2000#)", "Long", "1");
        row("DateDiff(\"w\", #1/1/2000#, #1/15/2000#)", "Long", "2");
        row("DateDiff(\"w\", #1/15/2000#, #1/2/2000#)", "Long", "-1");
        row("DateDiff(\"ww\", #1/1/2000#, #1/2/2000#)", "Long", "1"); // a Sunday lies between
        row("DateDiff(\"ww\", #1/1/2000#, #1/2/2000#, 7)", "Long", "0");
        row("DateDiff(\"ww\", #1/2/2000#, #1/1/2000#)", "Long", "-1");
        row("DateDiff(\"h\", #1/1/2000 1:59 AM#, #1/1/2000 2:00 AM#)", "Long", "1");
        row("DateDiff(\"n\", #1/1/2000#, #1/2/2000#)", "Long", "1440");
        row("DateDiff(\"s\", #1/1/2000#, #1/2/2000#)", "Long", "86400");
        row("DateDiff(\"d\", #12/29/1899#, #12/31/1899#)", "Long", "2");
        row("DateDiff(\"d\", Null, #1/1/2000#)", "Null", "Null");
        row("DatePart(\"yyyy\", #12/25/2026#)", "Integer", "2026");
        row("DatePart(\"q\", #5/1/2000#)", "Integer", "2");
        row("DatePart(\"m\", #5/1/2000#)", "Integer", "5");
        row("DatePart(\"y\", #12/31/2000#)", "Integer", "366");
        row("DatePart(\"d\", #5/17/2000#)", "Integer", "17");
        row("DatePart(\"w\", #1/1/2000#)", "Integer", "7");
        row("DatePart(\"w\", #1/1/2000#, 2)", "Integer", "6");
        row("DatePart(\"ww\", #1/1/2000#)", "Integer", "1");
        row("DatePart(\"ww\", #1/2/2000#)", "Integer", "2");
        row("DatePart(\"ww\", #12/31/2000#)", "Integer", "54");
        row("DatePart(\"ww\", #1/1/2005#, 2, 2)", "Integer", "53"); // the last week of 2004
        row("DatePart(\"ww\", #1/3/2005#, 2, 2)", "Integer", "1");
        row("DatePart(\"ww\", #1/1/2000#, 1, 3)", "Integer", "52");
        row("DatePart(\"ww\", #1/1/2005#, , 2)", "Integer", "52"); // Sunday weeks, four days in the new year
        row("DatePart(\"h\", #1:02:03 PM#)", "Integer", "13");
        row("DatePart(\"n\", #1:02:03 PM#)", "Integer", "2");
        row("DatePart(\"s\", #1:02:03 PM#)", "Integer", "3");
        row("DatePart(\"d\", Null)", "Null", "Null");
        row("#1/1/2000# - #12/25/1999#", "Double", "7");
        row("#1/1/2000# + #12:00 PM#", "Date", "1/1/2000 12:00:00 PM");
        row("#1/1/2000# > 36000", "Boolean", "True");
        row("CStr(#12/25/2026#)", "String", "12/25/2026");
    }
    void arithmetic() { checkValue(); }

    void names_data()
    {
        valueColumns();
        row("MonthName(1)", "String", "January");
        row("MonthName(12, True)", "String", "Dec");
        row("MonthName(1, 10)", "String", "Jan");
        row("MonthName(1.5)", "String", "February");
        row("WeekdayName(1)", "String", "Sunday");
        row("WeekdayName(7)", "String", "Saturday");
        row("WeekdayName(1.1)", "String", "Sunday");
        row("WeekdayName(1, True)", "String", "Sun");
        row("WeekdayName(1, True, 2)", "String", "Mon");
        row("WeekdayName(1, True, 2.5)", "String", "Mon");
        row("WeekdayName(1, True, 7)", "String", "Sat");
        row("WeekdayName(7, True, 3)", "String", "Mon");
        row("WeekdayName(1, True, 0)", "String", "Sun");
        row("WeekdayName(1, , 2)", "String", "Monday"); // left out: not abbreviated
        row("MonthName(1, )", "String", "January");
        row("FormatDateTime(#1/1/2000 1:00 PM#, )", "String", "1/1/2000 1:00:00 PM");
        row("FormatDateTime(#12/25/2026 1:02:03 PM#)", "String", "12/25/2026 1:02:03 PM");
        row("FormatDateTime(#12/25/2026 1:02:03 PM#, 1)", "String", "Friday, December 25, 2026");
        row("FormatDateTime(#12/5/2026#, 1)", "String", "Saturday, December 5, 2026");
        row("FormatDateTime(#12/25/2026 1:02:03 PM#, 2)", "String", "12/25/2026");
        row("FormatDateTime(#12/25/2026 1:02:03 PM#, 3)", "String", "1:02:03 PM");
        row("FormatDateTime(#12/25/2026 1:02:03 PM#, 4)", "String", "13:02");
        row("FormatDateTime(#12/25/2026#, 4)", "String", "00:00");
        row("FormatDateTime(0)", "String", "12:00:00 AM");
        row("FormatDateTime(-1.5)", "String", "12/29/1899 12:00:00 PM");
        row("FormatDateTime(\"Dec 25 2026\")", "String", "12/25/2026");
    }
    void names() { checkValue(); }

    void errors_data()
    {
        errorColumns();
        fails("Now(1)", 450);
        fails("Year()", 450);
        fails("DateAdd(\"d\", 1)", 450);
        fails("DateDiff(\"d\", 1, 2, 1, 1, 1)", 450);
        fails("Year(\"abc\")", 13);
        fails("Year(1E10)", 6);
        fails("Year(-657435)", 6);
        fails("CDate(\"99999999999\")", 6); // a number of days beyond 31 December 9999
        fails("CDate(-657435)", 6);
        fails("CDate(Null)", 94);
        fails("Weekday(DateSerial(1000, 1, 1), 10)", 5);
        fails("Weekday(DateSerial(1000, 1, 1), -1)", 5);
        fails("Weekday(Null, -1)", 5); // the first day is checked before the date
        fails("Weekday(DateSerial(1000, 1, 1), Null)", 94);
        fails("Weekday(Null, Null)", 94);
        fails("Weekday(Null, \"a\")", 13);
        fails("DateSerial(10000, 1, 1)", 5);
        fails("DateSerial(10000, -11, 1)", 5);
        fails("DateSerial(-10000, 1, 1)", 5);
        fails("DateSerial(100, 1, 0)", 5);
        fails("DateSerial(9999, 12, 32)", 5);
        fails("DateSerial(2000, 1, 40000)", 6);
        fails("DateSerial(32767, \"x\", 1)", 13); // every part is read before the year is judged
        fails("DateSerial(Null, 1, 1)", 94);
        fails("DateSerial(2000, Null, 1)", 94);
        fails("DateSerial(2000, 1, Null)", 94);
        fails("TimeSerial(Null, 1, 1)", 94);
        fails("TimeSerial(10, 1, Null)", 94);
        fails("TimeSerial(0, 40000, 0)", 6);
        fails("DateValue(\"abc\")", 13);
        fails("TimeValue(\"abc\")", 13);
        fails("DateAdd(\"k\", 1, DateSerial(2000, 2, 1))", 5);
        fails("DateAdd(\"dd\", 1, DateSerial(2000, 2, 1))", 5);
        fails("DateAdd(Null, 1, DateSerial(2000, 2, 1))", 94);
        fails("DateAdd(\"q\", Null, DateSerial(2000, 2, 1))", 94);
        fails("DateAdd(\"d\", 1, \"abc\")", 13);
        fails("DateAdd(\"yyyy\", 8000, #1/1/2000#)", 5);
        fails("DateAdd(\"yyyy\", -1901, #1/1/2000#)", 5); // before the year 100
        fails("DateAdd(\"n\", -1, #1/1/100#)", 5);
        fails("DateAdd(\"d\", 3000000, #1/1/2000#)", 5);
        fails("DateDiff(\"x\", 1, 2)", 5);
        fails("DateDiff(\"d\", 1, 2, 8)", 5);
        fails("DateDiff(\"d\", 1, 2, 1, 4)", 5);
        fails("DateDiff(\"d\", 1, 2, Null)", 94);
        fails("DatePart(\"x\", 1)", 5);
        fails("DatePart(\"ww\", 1, -1)", 5);
        fails("DatePart(\"ww\", 1, 1, 4)", 5);
        fails("MonthName(0)", 5);
        fails("MonthName(13)", 5);
        fails("MonthName(Null)", 94);
        fails("MonthName(1, Null)", 94);
        fails("MonthName(\"a\", Null)", 94);
        fails("MonthName(1, \"abc\")", 13);
        fails("WeekdayName(0)", 5);
        fails("WeekdayName(8)", 5);
        fails("WeekdayName(1, False, 8)", 5);
        fails("WeekdayName(Null)", 94);
        fails("FormatDateTime(Null)", 13);
        fails("FormatDateTime(0.1, Null)", 94);
        fails("FormatDateTime(1, 5)", 5);
        fails("FormatDateTime(1, -1)", 5);
        fails("FormatDateTime(\"abc\")", 13);
        fails("#1/1/2000# + 3000000", 6);
    }
    void errors() { checkError(); }

    // The calculator's result box shows numbers only: a Date is no number, its count of days is.
    void resultBox_data()
    {
        QTest::addColumn<QByteArray>("expression");
        QTest::addColumn<QByteArray>("result");
        QTest::newRow("days to go") << QByteArray("DateSerial(2026,12,25) - Date") << QByteArray("= 17");
        QTest::newRow("days so far") << QByteArray("DateDiff(\"d\", #1/1/2026#, Date)") << QByteArray("= 341");
        QTest::newRow("year") << QByteArray("Year(Now)") << QByteArray("= 2,026");
        QTest::newRow("serial") << QByteArray("CDbl(Now)") << QByteArray("= 46,364.32");
        QTest::newRow("lower case") << QByteArray("datepart(\"ww\", #1/2/2000#)") << QByteArray("= 2");
        QTest::newRow("month name") << QByteArray("Month(\"dec 25 2026\")") << QByteArray("= 12");
        QTest::newRow("a date") << QByteArray("Date") << QByteArray("failed");
        QTest::newRow("a name") << QByteArray("MonthName(1)") << QByteArray("failed");
    }
    void resultBox()
    {
        QFETCH(QByteArray, expression);
        QFETCH(QByteArray, result);
        eval::ScriptControl engine;
        const eval::Calculation c = eval::calculateResultText(engine, expression.toStdString(), 2);
        QCOMPARE(c.ok ? QByteArray(c.resultText.c_str()) : QByteArray("failed"), result);
    }

    // Without a replacement the engine reads the real local clock.
    void realClock()
    {
        eval::setClockSource(nullptr);
        eval::ScriptControl engine;
        const std::time_t before = std::time(nullptr);
        const eval::EvalResult now = engine.Eval("CDbl(Now)");
        const std::time_t after = std::time(nullptr);
        eval::setClockSource(fixedClock);
        QVERIFY(now.ok);
        auto serialOf = [](std::time_t t) {
            std::tm local{};
            localtime_r(&t, &local);
            eval::ScriptControl e;
            const std::string text = "CDbl(DateSerial(" + std::to_string(local.tm_year + 1900) + "," +
                                     std::to_string(local.tm_mon + 1) + "," + std::to_string(local.tm_mday) +
                                     ") + TimeSerial(" + std::to_string(local.tm_hour) + "," +
                                     std::to_string(local.tm_min) + "," + std::to_string(local.tm_sec) + "))";
            return e.Eval(text).value.asDouble();
        };
        // Now is rounded to the second, and std::time reads a clock that may lag the precise one
        // by a tick: at a second's boundary the two can be one second apart.
        const double tolerance = 1.0 / 86400;
        QVERIFY(now.value.asDouble() >= serialOf(before) - tolerance);
        QVERIFY(now.value.asDouble() <= serialOf(after) + tolerance);
    }
};

QTEST_GUILESS_MAIN(TestDates)
#include "tst_dates.moc"
