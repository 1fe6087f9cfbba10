// The amino-acid table and the two display procedures, driven through a
// recording stand-in for the window's controls.
#include "amino_acid_table.h"
#include "classification_display.h"
#include "expected_form.h"
#include "recording_controls.h"

#include <QtTest>

using amino::AminoAcidTable;
using Op = RecordingControls::Op;

namespace {

QString item(int list, int row)
{
    const std::string_view text = AminoAcidTable::item(list, row);
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

// "101" -> checks 0 and 2 set; written out by hand in the tests below.
QString checkPattern(const RecordingControls &controls)
{
    QString pattern;
    for (int value : controls.checks)
        pattern += QChar(u'0' + value);
    return pattern;
}

int selectedOption(const RecordingControls &controls)
{
    int selected = -1;
    for (int j = 0; j < amino::OptionButtonCount; ++j) {
        if (controls.options[j]) {
            if (selected != -1)
                return -2; // more than one: never valid
            selected = j;
        }
    }
    return selected;
}

void setEverything(RecordingControls &controls)
{
    controls.checks.fill(1);
    controls.options.fill(true);
}

} // namespace

class TestClassification : public QObject {
    Q_OBJECT

private slots:
    void eachRow_data();
    void eachRow();
    void codeCounts();
    void noSelectionClearsAll();
    void handChangeIsOverwritten();
    void secondCallLeavesSameState();
    void clearIndicatorsOrder();
    void operationOrder();
    void badCodes_data();
    void badCodes();
    void codeValue_data();
    void codeValue();
};

void TestClassification::eachRow_data()
{
    QTest::addColumn<int>("row");
    const auto &rows = expected::form().rows;
    QCOMPARE(int(rows.size()), AminoAcidTable::rowCount);
    for (int row = 0; row < int(rows.size()); ++row)
        QTest::newRow(rows[row].name.c_str()) << row;
}

void TestClassification::eachRow()
{
    QFETCH(int, row);
    const expected::Row &want = expected::form().rows[row];
    const QString name = QString::fromStdString(want.name);
    const QString nutrition = QString::fromStdString(want.nutrition);
    const QString residue = QString::fromStdString(want.residue);
    const QString checks = QString::fromStdString(want.checks);
    const int option = want.option;

    QCOMPARE(item(AminoAcidTable::Names, row), name);
    QCOMPARE(item(AminoAcidTable::NutritionCodes, row), nutrition);
    QCOMPARE(item(AminoAcidTable::ResidueCodes, row), residue);

    RecordingControls controls;
    setEverything(controls); // whatever was shown before must not survive
    controls.selected = amino::RowIndex(row);
    amino::ShowSelection(controls);
    QCOMPARE(checkPattern(controls), checks);
    QCOMPARE(selectedOption(controls), option);
}

void TestClassification::codeCounts()
{
    std::array<int, 3> nutrition{};
    std::array<int, 4> residue{};
    for (int row = 0; row < AminoAcidTable::rowCount; ++row) {
        const auto n = amino::codeValue(AminoAcidTable::item(AminoAcidTable::NutritionCodes, row));
        const auto r = amino::codeValue(AminoAcidTable::item(AminoAcidTable::ResidueCodes, row));
        QVERIFY(n && *n >= 0 && *n <= 2);
        QVERIFY(r && *r >= 0 && *r <= 3);
        ++nutrition[int(*n)];
        ++residue[int(*r)];
    }
    // The lesson text quotes these counts.
    QCOMPARE(nutrition, (std::array<int, 3>{3, 9, 8}));
    QCOMPARE(residue, (std::array<int, 4>{7, 8, 2, 3}));

    // Essential first, then non-essential, then conditionally essential.
    for (int row = 0; row < AminoAcidTable::rowCount; ++row) {
        const QString expected = row < 9 ? "1" : row < 12 ? "0" : "2";
        QCOMPARE(item(AminoAcidTable::NutritionCodes, row), expected);
    }
}

void TestClassification::noSelectionClearsAll()
{
    RecordingControls controls;
    setEverything(controls);
    controls.selected = -1;
    amino::ShowSelection(controls);
    QCOMPARE(checkPattern(controls), QString::fromStdString(expected::form().cleared.checks));
    QCOMPARE(selectedOption(controls), expected::form().cleared.option);
    // Nothing to look up when nothing is selected.
    for (const auto &record : controls.log)
        QVERIFY(record.op != Op::ReadItem);
}

void TestClassification::handChangeIsOverwritten()
{
    RecordingControls controls;
    controls.selected = 0; // Лизин
    amino::ShowSelection(controls);
    controls.checks[0] = 1; // the pupil ticks "заменими" by hand
    controls.options.fill(false);
    controls.options[2] = true; // and picks "с ациден остатък"
    amino::ShowSelection(controls);
    const expected::Row &lysine = expected::form().rows[0];
    QCOMPARE(checkPattern(controls), QString::fromStdString(lysine.checks));
    QCOMPARE(selectedOption(controls), lysine.option);
}

void TestClassification::secondCallLeavesSameState()
{
    RecordingControls controls;
    controls.selected = 12; // Аргинин
    amino::ShowSelection(controls);
    const auto checks = controls.checks;
    const auto options = controls.options;
    const auto firstLog = controls.log;
    controls.log.clear();
    amino::ShowSelection(controls);
    QCOMPARE(controls.checks, checks);
    QCOMPARE(controls.options, options);
    QCOMPARE(controls.log.size(), firstLog.size());
}

void TestClassification::clearIndicatorsOrder()
{
    RecordingControls controls;
    setEverything(controls);
    amino::ClearIndicators(controls);
    const std::vector<std::pair<Op, int>> expected = {
        {Op::WriteCheck, 0},  {Op::WriteCheck, 1},  {Op::WriteCheck, 2},  {Op::WriteOption, 0},
        {Op::WriteOption, 1}, {Op::WriteOption, 2}, {Op::WriteOption, 3},
    };
    QCOMPARE(controls.log.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        QCOMPARE(controls.log[i].op, expected[i].first);
        QCOMPARE(controls.log[i].index, expected[i].second);
        QCOMPARE(controls.log[i].value, 0);
    }
}

void TestClassification::operationOrder()
{
    RecordingControls controls;
    controls.selected = 13; // Аспарагин: codes 2 and 1
    amino::ShowSelection(controls);

    // index, both codes, seven clears, check 2, check 1, option 1
    const std::vector<RecordingControls::Record> expected = {
        {Op::ReadIndex, 0, 13},  {Op::ReadItem, 1, 13},   {Op::ReadItem, 2, 13},
        {Op::WriteCheck, 0, 0},  {Op::WriteCheck, 1, 0},  {Op::WriteCheck, 2, 0},
        {Op::WriteOption, 0, 0}, {Op::WriteOption, 1, 0}, {Op::WriteOption, 2, 0},
        {Op::WriteOption, 3, 0}, {Op::WriteCheck, 2, 1},  {Op::WriteCheck, 1, 1},
        {Op::WriteOption, 1, 1},
    };
    QCOMPARE(controls.log.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        QCOMPARE(int(controls.log[i].op), int(expected[i].op));
        QCOMPARE(controls.log[i].index, expected[i].index);
        QCOMPARE(controls.log[i].value, expected[i].value);
    }
}

void TestClassification::badCodes_data()
{
    QTest::addColumn<QString>("nutrition");
    QTest::addColumn<QString>("residue");

    QTest::newRow("nutrition 3") << "3"
                                 << "0";
    QTest::newRow("nutrition 9") << "9"
                                 << "1";
    QTest::newRow("residue 4") << "1"
                               << "4";
    QTest::newRow("residue 9") << "0"
                               << "9";
    QTest::newRow("empty nutrition") << ""
                                     << "1";
    QTest::newRow("empty residue") << "2"
                                   << "";
    QTest::newRow("letter") << "a"
                            << "1";
    QTest::newRow("negative") << "-1"
                              << "1";
    QTest::newRow("two digits") << "1"
                                << "10";
    QTest::newRow("spaces") << " 1"
                            << "1 ";
    QTest::newRow("decimal") << "1.5"
                             << "2";
    QTest::newRow("Cyrillic digit look-alike") << "З"
                                               << "1";
}

void TestClassification::badCodes()
{
    QFETCH(QString, nutrition);
    QFETCH(QString, residue);

    RecordingControls controls;
    controls.selected = 4;
    controls.items[AminoAcidTable::NutritionCodes][4] = nutrition.toStdString();
    controls.items[AminoAcidTable::ResidueCodes][4] = residue.toStdString();
    setEverything(controls);
    amino::ShowSelection(controls); // the stand-in throws on a write out of range
    QCOMPARE(checkPattern(controls), QString::fromStdString(expected::form().cleared.checks));
    QCOMPARE(selectedOption(controls), expected::form().cleared.option);
}

void TestClassification::codeValue_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");
    QTest::addColumn<bool>("valid");

    for (int digit = 0; digit <= 9; ++digit)
        QTest::addRow("%d", digit) << QString::number(digit) << double(digit) << true;
    QTest::newRow("empty") << "" << 0.0 << false;
    QTest::newRow("plus sign") << "+1" << 0.0 << false;
    QTest::newRow("trailing newline") << "1\n" << 0.0 << false;
}

void TestClassification::codeValue()
{
    QFETCH(QString, text);
    QFETCH(double, value);
    QFETCH(bool, valid);

    const std::optional<double> parsed = amino::codeValue(text.toStdString());
    QCOMPARE(parsed.has_value(), valid);
    if (valid)
        QCOMPARE(*parsed, value);
}

QTEST_APPLESS_MAIN(TestClassification)
#include "test_classification.moc"
