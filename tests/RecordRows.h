#pragma once
#include "MainWindow.h"
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>

// The rows of a query on the table's record, each row's columns joined by
// "|"; SESSION in the query stands for this run's session.
inline QStringList recordRows(MainWindow &table, QString sql)
{
    TrainingSession &session = table.training.session();
    sql.replace(QLatin1String("SESSION"), QString::number(session.database().sessionId()));
    QSqlQuery query(session.database().connection());
    QStringList result;
    if (!query.exec(sql))
        return {query.lastError().text()};
    while (query.next()) {
        QStringList columns;
        for (int i = 0; i < query.record().count(); ++i)
            columns << query.value(i).toString();
        result << columns.join(QLatin1Char('|'));
    }
    return result;
}
