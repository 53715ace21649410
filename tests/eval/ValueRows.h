#pragma once

// The data-table shape the engine's tests share. A value row names the expression, the subtype
// the language gives it and its text, so that the right number in the wrong subtype (Integer
// where Long is due) fails as well; an error row names the expression and its error number.
#include "eval/NumberText.h"
#include "eval/ScriptControl.h"

#include <QTest>

#include <string>

namespace valuerows {

inline void valueColumns()
{
    QTest::addColumn<QByteArray>("expression");
    QTest::addColumn<QByteArray>("type");
    QTest::addColumn<QByteArray>("text");
}

inline void row(const char *expression, const char *type, const char *text)
{
    QTest::newRow(expression) << QByteArray(expression) << QByteArray(type) << QByteArray(text);
}

// Evaluates the row's expression on a fresh engine and compares its subtype and text.
inline void checkValue()
{
    QFETCH(QByteArray, expression);
    QFETCH(QByteArray, type);
    QFETCH(QByteArray, text);
    eval::ScriptControl engine;
    const eval::EvalResult r = engine.Eval(expression.toStdString());
    QVERIFY2(r.ok, (QByteArray::number(r.error.number) + " " + r.error.description.c_str()).constData());
    QCOMPARE(QByteArray(eval::typeName(r.value.type())), type);
    QCOMPARE(QByteArray(eval::NumberText(r.value).value_or("Null").c_str()), text);
}

inline void errorColumns()
{
    QTest::addColumn<QByteArray>("expression");
    QTest::addColumn<int>("number");
}

inline void fails(const char *expression, int number)
{
    QTest::newRow(expression) << QByteArray(expression) << number;
}

// Evaluates the row's expression on a fresh engine and compares the error it raises, which
// must come with its text.
inline void checkError()
{
    QFETCH(QByteArray, expression);
    QFETCH(int, number);
    eval::ScriptControl engine;
    const eval::EvalResult r = engine.Eval(expression.toStdString());
    QVERIFY2(!r.ok, eval::NumberText(r.value).value_or("Null").c_str());
    QCOMPARE(r.error.number, number);
    QVERIFY(!r.error.description.empty());
}

} // namespace valuerows
