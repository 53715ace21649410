#include "ValueRows.h"

#include "eval/Calculation.h"
#include "eval/DecimalPlaces.h"
#include "eval/NumberText.h"
#include "eval/ScriptControl.h"

#include <QTest>

#include <string>

namespace {

// An array's elements as "[a|b|c]", each in its own text form (nested arrays alike).
std::string describe(const eval::Value &v)
{
    if (!v.isArray())
        return eval::NumberText(v).value_or("Null");
    std::string text = "[";
    for (std::size_t i = 0; i < v.asArray().size(); ++i)
        text += (i > 0 ? "|" : "") + describe(v.asArray()[i]);
    return text + "]";
}

} // namespace

using namespace valuerows;

class TestArrays : public QObject
{
    Q_OBJECT

private slots:
    void values_data()
    {
        valueColumns();
        row("Array()", "Variant()", "[]");
        row("Array(\"a1\", 2, Null, Empty)", "Variant()", "[a1|2|Null|]");
        row("VarType(Array())", "Integer", "8204");
        row("TypeName(Array(1))", "String", "Variant()");
        row("IsArray(Array())", "Boolean", "True");
        row("IsArray(Split(\"a\"))", "Boolean", "True");
        row("IsArray(Null)", "Boolean", "False");
        row("IsArray(\"44\")", "Boolean", "False");
        row("IsArray(Nothing)", "Boolean", "False"); // sees the object, not its default
        row("IsNumeric(Array(1))", "Boolean", "False");
        row("UBound(Array(\"a1\", 2, \"a3\"))", "Long", "2");
        row("UBound(Array(\"a1\", 2, \"a3\"), 1)", "Long", "2");
        row("UBound(Array())", "Long", "-1");
        row("LBound(Array(1, 2))", "Long", "0");
        row("LBound(Array(), 1)", "Long", "0");
        row("Array(\"a1\", 2, \"a3\")(1)", "Integer", "2");
        row("Array(\"a1\", 2, \"a3\")(0)", "String", "a1");
        row("Array(1, 2)(\"1\")", "Integer", "2");
        row("Array(1, 2)(0.5)", "Integer", "1"); // the subscript rounds half to even
        row("Array(Array(1, 2), 3)(0)(1)", "Integer", "2");
        row("Split(\"a,b,c\", \",\")(1)", "String", "b");
        row("Split(\"a,b,c\", \",\")(2) & \"!\"", "String", "c!");
        row("Split(\"abc\")", "Variant()", "[abc]");
        row("Split(\"abc def ghi\")", "Variant()", "[abc|def|ghi]");
        row("Split(\"abc def\", \"\")", "Variant()", "[abc def]");
        row("Split(\"abc--def\", \"-\")", "Variant()", "[abc||def]");
        row("Split(\"12345\", 3)", "Variant()", "[12|45]");
        row("Split(\"12345\", 5)", "Variant()", "[1234|]");
        row("Split(\"abc-def-ghi\", \"-\", 2)", "Variant()", "[abc|def-ghi]");
        row("Split(\"abc-def-ghi\", \"-\", 4)", "Variant()", "[abc|def|ghi]");
        row("Split(\"abc-def-ghi\", \"-\", -1)", "Variant()", "[abc|def|ghi]");
        row("Split(\"abc-def\", \"-\", 0)", "Variant()", "[]");
        row("Split(\"\")", "Variant()", "[]");
        row("Split(\"abcZdefZghi\", \"z\", 3, 0)", "Variant()", "[abcZdefZghi]");
        row("Split(\"abcZdefZghi\", \"z\", 3, 1)", "Variant()", "[abc|def|ghi]");
        row("TypeName(Split(\"1 2\")(0))", "String", "String");
        row("Join(Array())", "String", "");
        row("Join(Array(\"a\", \"b\", \"c\", 1, 2, 3))", "String", "a b c 1 2 3");
        row("Join(Array(1, Empty))", "String", "1 ");
        row("Join(Array(\"a\", \"b\"), \"-\")", "String", "a-b");
        row("Join(Array(\"a\", \"b\", \"c\"), \"123\")", "String", "a123b123c");
        row("Join(Array(\"a\", \"b\", \"c\"), Empty)", "String", "abc");
        row("Join(Split(\"1,2,3\", \",\"), \"+\")", "String", "1+2+3");
        row("Filter(Array(\"Sunday\", \"Monday\", \"Saturday\"), \"S\")", "Variant()", "[Sunday|Saturday]");
        row("Filter(Array(\"Sunday\", \"Monday\", \"Tuesday\"), \"S\", False)", "Variant()", "[Monday|Tuesday]");
        row("Filter(Array(\"Sunday\", \"Monday\", \"Tuesday\"), \"s\", True, 1)", "Variant()", "[Sunday|Tuesday]");
        row("Filter(Array(\"a\"), \"S\")", "Variant()", "[]");
        row("Filter(Array(12, 23), 2)", "Variant()", "[12|23]");
        row("TypeName(Filter(Array(12), 2)(0))", "String", "String");
        row("UBound(Filter(Array(\"a\", \"b\"), \"c\"))", "Long", "-1");
    }
    void values()
    {
        QFETCH(QByteArray, expression);
        QFETCH(QByteArray, type);
        QFETCH(QByteArray, text);
        eval::ScriptControl engine;
        const eval::EvalResult r = engine.Eval(expression.toStdString());
        QVERIFY2(r.ok, r.error.description.c_str());
        QCOMPARE(QByteArray(eval::typeName(r.value.type())), type);
        QCOMPARE(QByteArray(describe(r.value).c_str()), text);
    }

    void errors_data()
    {
        errorColumns();
        fails("UBound()", 450);
        fails("UBound(Empty)", 13);
        fails("UBound(Null)", 13);
        fails("UBound(5)", 13);
        fails("UBound(Array(1), 1, 2)", 450);
        fails("UBound(Array(1), 2)", 9);
        fails("UBound(Array(1), 0)", 9);
        fails("LBound(Null)", 13);
        fails("LBound(Array(1), 2)", 9);
        fails("Array(1, 2, 3)(3)", 9);
        fails("Array(1, 2, 3)(-1)", 9);
        fails("Array()(0)", 9);
        fails("Array(1, 2)(1.5)", 9);
        fails("Array(1, 2)(0, 0)", 9);
        fails("Array(1, 2)(Null)", 13);
        fails("Array(1, 2)(\"x\")", 13);
        fails("Len(\"abc\")(0)", 13);
        fails("Array(1)(0", 1006);
        fails("Split(Null)", 94);
        fails("Split(\"a-b\", Null)", 94);
        fails("Split(\"a-b\", \"-\", Null)", 94);
        fails("Split(\"a-b\", \"-\", -1, Null)", 94);
        fails("Split(\"abc-def-ghi\", \"-\", -1, 2)", 5);
        fails("Split(\"abc-def-ghi\", \"-\", -42, 0)", 5);
        fails("Join(Null)", 94);
        fails("Join(Empty)", 13);
        fails("Join(1.2)", 13);
        fails("Join(\"test\")", 13);
        fails("Join(Array(1, Null))", 13);
        fails("Join(Array(Array(1, 2), Array(3, 4)))", 13);
        fails("Join(Array(), Null)", 94);
        fails("Join(Array(), \"a\", \"b\")", 450);
        fails("Filter(Null, \"a\")", 94);
        fails("Filter(\"abc\", \"a\")", 13);
        fails("Filter(Array(\"a\"), Null)", 94);
        fails("Filter(Array(\"a\", Null), \"a\")", 13);
        fails("Filter(Array(\"a\"), \"a\", True, 2)", 5);
        // An array is no number and has no text: no operator or conversion takes it.
        fails("Array(1) + 1", 13);
        fails("1 * Array(1)", 13);
        fails("Null + Array(1)", 13);
        fails("Array(1) & \"x\"", 13);
        fails("Array(1) = 1", 13);
        fails("-Array(1)", 13);
        fails("Not Array(1)", 13);
        fails("CStr(Array(1))", 13);
        fails("CDbl(Array(1))", 13);
        fails("Len(Array(1))", 13);
        fails("Abs(Array(1))", 13);
    }
    void errors() { checkError(); }

    // The result box shows numbers only; an array is none, while one of its elements may be.
    void resultBox()
    {
        eval::ScriptControl engine;
        const eval::Calculation whole = eval::calculateResultText(engine, "Array(1, 2)", 2);
        QVERIFY(!whole.ok);
        QCOMPARE(whole.error.number, 13);
        QVERIFY(!eval::calculateResultText(engine, "Split(\"1,2\", \",\")", eval::DecimalPlacesAuto).ok);
        const eval::Calculation element = eval::calculateResultText(engine, "Split(\"1.5,2\", \",\")(0) * 2", 2);
        QVERIFY(element.ok);
        QCOMPARE(element.resultText, std::string("= 3"));
        QCOMPARE(eval::calculateResultText(engine, "UBound(Array(1, 2, 3))", 2).resultText, std::string("= 2"));
    }

    // Copies own their elements: a copy outlives its original, and a moved-from value is empty.
    void copiesAreDeep()
    {
        eval::ScriptControl engine;
        eval::Value copy;
        {
            const eval::Value original = engine.Eval("Array(\"x\", Array(1, 2))").value;
            copy = original;
        }
        QCOMPARE(describe(copy), std::string("[x|[1|2]]"));
        eval::Value moved = std::move(copy);
        QCOMPARE(describe(moved), std::string("[x|[1|2]]"));
        copy = moved;
        moved = eval::Value::integer(1);
        QCOMPARE(describe(copy), std::string("[x|[1|2]]"));
    }
};

QTEST_GUILESS_MAIN(TestArrays)
#include "tst_arrays.moc"
