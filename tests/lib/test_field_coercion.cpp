#include "DbError.h"
#include "TableDef.h"

#include <QDateTime>
#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using pcp::DbError;
using pcp::DbErrorKind;
using pcp::FieldDef;
using pcp::FieldType;

namespace {

// Dates and times reach a field typed by the user (either accepted form) or as
// native values from other code; both end as the field's own type.
TEST(FieldCoercion, DatesAndTimesFromTextOrNativeValues)
{
    const QDate day(2024, 3, 7);
    struct Case {
        FieldType type;
        QVariant value;
        QVariant expected;
    };
    const Case cases[] = {
        {FieldType::Date, u" 07/03/2024 "_s, day},
        {FieldType::Date, u"2024-03-07"_s, day},
        {FieldType::Date, day, day},
        {FieldType::Date, QDateTime(day, QTime(15, 30)), day},
        {FieldType::Time, u"15:30:20"_s, QTime(15, 30, 20)},
        {FieldType::Time, u"15:30"_s, QTime(15, 30)},
        {FieldType::Time, QTime(8, 5), QTime(8, 5)},
        {FieldType::DateTime, u"07/03/2024 15:30:20"_s, QDateTime(day, QTime(15, 30, 20))},
        {FieldType::DateTime, u"2024-03-07 15:30:20"_s, QDateTime(day, QTime(15, 30, 20))},
        {FieldType::DateTime, day, QDateTime(day, QTime(0, 0))},
        {FieldType::DateTime, QDateTime(day, QTime(9, 0)), QDateTime(day, QTime(9, 0))},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value.toString().toStdString());
        FieldDef field;
        field.name = u"Quando"_s;
        field.type = c.type;
        EXPECT_EQ(pcp::coerceForField(field, c.value), c.expected);
    }
}

TEST(FieldCoercion, WhatIsNoDateOrTimeIsRefusedNamingTheField)
{
    struct Case {
        FieldType type;
        QVariant value;
        QString message;
    };
    const Case cases[] = {
        {FieldType::Date, u"31/02/2024"_s, u"'31/02/2024' não é uma data válida (campo Quando)"_s},
        {FieldType::Date, 20240307, u"'20240307' não é uma data válida (campo Quando)"_s},
        {FieldType::Time, u"25:00"_s, u"'25:00' não é uma hora válida (campo Quando)"_s},
        {FieldType::Time, QDate(2024, 3, 7), u"'2024-03-07' não é uma hora válida (campo Quando)"_s},
        {FieldType::DateTime, u"07/03/2024"_s, u"'07/03/2024' não é uma data e hora válidas (campo Quando)"_s},
        {FieldType::DateTime, QTime(9, 0), u"'09:00:00.000' não é uma data e hora válidas (campo Quando)"_s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value.toString().toStdString());
        FieldDef field;
        field.name = u"Quando"_s;
        field.type = c.type;
        try {
            pcp::coerceForField(field, c.value);
            ADD_FAILURE() << "accepted";
        } catch (const DbError& e) {
            EXPECT_EQ(e.kind(), DbErrorKind::Refused);
            EXPECT_EQ(e.message(), c.message);
        }
    }
}

}  // namespace
