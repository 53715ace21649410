#include "platform/qt/QtListBox.h"

#include <QAbstractItemModel>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>

#include <ctime>

namespace {

double threadCpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

QStringList numberedRows(int first, int count)
{
    QStringList rows;
    rows.reserve(count);
    for (int i = first; i < first + count; ++i)
        rows << QStringLiteral("%1 + 67 * 5.25 - ( 65 - 6.5 ) / 22").arg(i);
    return rows;
}

} // namespace

class TestQtListBox : public QObject
{
    Q_OBJECT

private slots:
    // A load appends all its rows as one insertion, whatever the list holds already: the
    // view hears of it once, and the time is that of the rows loaded (rows inserted one by
    // one at the same place took minutes here). The CPU ceiling is a hundred times what the
    // load takes, so it only trips on work that grows with the square of the rows.
    void loadAppendsInOneStep_data()
    {
        QTest::addColumn<int>("before");
        QTest::newRow("empty") << 0;
        QTest::newRow("one row") << 1;
        QTest::newRow("100,000 rows") << 100000;
    }
    void loadAppendsInOneStep()
    {
        QFETCH(int, before);
        constexpr int Loaded = 300000;
        QTableView view;
        platform::qt::QtListBox list(&view);
        view.show();
        list.addItems(numberedRows(0, before));
        const QStringList rows = numberedRows(before, Loaded);
        QCoreApplication::processEvents();

        QAbstractItemModel *model = view.model();
        QSignalSpy inserted(model, &QAbstractItemModel::rowsInserted);
        QSignalSpy changed(model, &QAbstractItemModel::dataChanged);
        QSignalSpy reset(model, &QAbstractItemModel::modelReset);
        const double start = threadCpuSeconds();
        list.addItems(rows);
        QCoreApplication::processEvents();
        const double seconds = threadCpuSeconds() - start;

        QCOMPARE(inserted.count(), 1);
        QCOMPARE(inserted.first().at(1).toInt(), before);
        QCOMPARE(inserted.first().at(2).toInt(), before + Loaded - 1);
        QCOMPARE(changed.count(), 0);
        QCOMPARE(reset.count(), 0);
        QCOMPARE(list.count(), before + Loaded);
        if (before > 0)
            QCOMPARE(list.item(before - 1), numberedRows(before - 1, 1).first());
        QCOMPARE(list.item(before), rows.first());
        QCOMPARE(list.item(before + Loaded - 1), rows.last());
        QVERIFY2(seconds < 10, qPrintable(QStringLiteral("%1 s of CPU").arg(seconds)));
    }

    // The rows are kept as they came, whatever their characters, one at a time or many, and
    // removing rows from the model leaves the others whole.
    void rowsKeepTheirText()
    {
        QTableView view;
        platform::qt::QtListBox list(&view);
        view.show(); // the view gets the model when shown
        const QStringList rows{QString(),
                               QStringLiteral("  = 1,234.57"),
                               QStringLiteral("Sqr(2) \u00D7 \u03C0 = caf\u00E9"),
                               QStringLiteral("\U0001D465 + \u20AC"),
                               QString(5000, QLatin1Char('9')),
                               QStringLiteral("\u00FF\u0100\u07FF\u0800\uFFFD")};
        list.addItem(rows[0]);
        list.addItems(rows.mid(1, 3));
        list.addItems({});
        list.addItem(rows[4]);
        list.addItems(rows.mid(5));
        QCOMPARE(list.count(), rows.size());
        for (int i = 0; i < rows.size(); ++i)
            QCOMPARE(list.item(i), rows[i]);
        QCOMPARE(list.item(-1), QString());
        QCOMPARE(list.item(int(rows.size())), QString());
        QCOMPARE(view.model()->index(2, 0).data().toString(), rows[2]);

        QVERIFY(view.model()->removeRows(1, 2));
        QCOMPARE(list.count(), rows.size() - 2);
        QCOMPARE(list.item(0), rows[0]);
        QCOMPARE(list.item(1), rows[3]);
        QCOMPARE(list.item(3), rows[5]);
        QVERIFY(!view.model()->removeRows(3, 2)); // past the end: nothing goes
        QCOMPARE(list.count(), rows.size() - 2);

        list.clear();
        QCOMPARE(list.count(), 0);
        list.addItem(rows[2]);
        QCOMPARE(list.item(0), rows[2]);
    }
};

QTEST_MAIN(TestQtListBox)
#include "tst_qtlistbox.moc"
