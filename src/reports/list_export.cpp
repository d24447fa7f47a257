#include "reports/list_export.h"

#include <xlsxwriter.h>
#include <QFile>
#include <QSaveFile>
#include <cstdlib>

namespace torvane::reports {

size_t ListTable::labelColumn() const {
    for (size_t i = 0; i < columns.size(); ++i)
        if (!columns[i].total) return i;
    return 0;
}

ListTable::Row ListTable::labelled(RowKind kind, int level, const QString& label) const {
    Row row{kind, level, std::vector<ListCell>(columns.size())};
    if (!row.cells.empty()) row.cells[labelColumn()] = ListCell::ofText(label);
    return row;
}

namespace {

// "-1234,50": no thousands mark, which a spreadsheet could read as a decimal point.
QString plainAmount(Money m) {
    const std::int64_t cents = m.roundCents().units() / 100;
    const std::int64_t a = std::llabs(cents);
    return QStringLiteral("%1%2,%3")
        .arg(cents < 0 ? QStringLiteral("-") : QString())
        .arg(a / 100)
        .arg(a % 100, 2, 10, QChar('0'));
}

QString plainNumber(double n) {
    QString t = QString::number(n, 'f', 2);
    while (t.endsWith('0')) t.chop(1);
    if (t.endsWith('.')) t.chop(1);
    if (t == QLatin1String("-0")) t = QStringLiteral("0");
    return t.replace('.', ',');
}

QString csvField(const ListCell& c) {
    switch (c.kind) {
        case ListCell::Kind::Empty:
            return {};
        case ListCell::Kind::Amount:
            return plainAmount(c.amount);
        case ListCell::Kind::Number:
            return plainNumber(c.number);
        case ListCell::Kind::Date:
            return c.date.toString(QStringLiteral("dd/MM/yyyy"));
        case ListCell::Kind::Text:
            break;
    }
    QString t = c.text;
    if (t.contains(';') || t.contains('"') || t.contains('\n') || t.contains('\r'))
        t = '"' + t.replace('"', QStringLiteral("\"\"")) + '"';
    return t;
}

}  // namespace

bool writeCsv(const ListTable& table, const QString& path, QString* reason) {
    QByteArray out("\xEF\xBB\xBF");
    const auto line = [&](const QStringList& fields) {
        out += fields.join(';').toUtf8();
        out += "\r\n";
    };
    QStringList head;
    for (const auto& c : table.columns) {
        ListCell h = ListCell::ofText(c.heading);
        head << csvField(h);
    }
    line(head);
    for (const ListTable::Row& r : table.rows) {
        QStringList fields;
        for (const ListCell& c : r.cells) fields << csvField(c);
        line(fields);
    }
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(out) != out.size() || !f.commit()) {
        if (reason) *reason = f.errorString();
        return false;
    }
    return true;
}

bool writeXlsx(const ListTable& table, const QString& path, QString* reason) {
    // Rows go out as they are written, so a long listing takes little memory.
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    const QByteArray file = QFile::encodeName(path);
    lxw_workbook* book = workbook_new_opt(file.constData(), &options);
    if (!book) {
        if (reason) *reason = QStringLiteral("no se puede crear el libro");
        return false;
    }
    lxw_worksheet* sheet = workbook_add_worksheet(book, "Listado");
    const auto format = [&](bool bold, const char* numbers) {
        lxw_format* f = workbook_add_format(book);
        if (bold) format_set_bold(f);
        if (numbers) format_set_num_format(f, numbers);
        return f;
    };
    struct Formats {
        lxw_format *text, *amount, *number, *integer, *date;
    };
    const Formats plain{nullptr, format(false, "#,##0.00"), format(false, "#,##0.##"),
                        format(false, "#,##0"), format(false, "dd/mm/yyyy")};
    const Formats bold{format(true, nullptr), format(true, "#,##0.00"), format(true, "#,##0.##"),
                       format(true, "#,##0"), format(true, "dd/mm/yyyy")};

    for (size_t i = 0; i < table.columns.size(); ++i) {
        const auto& c = table.columns[i];
        const double width = c.format == ValueFormat::Date || c.format == ValueFormat::Money
                                 ? 13
                                 : std::max<double>(10, c.heading.size() + 2);
        worksheet_set_column(sheet, lxw_col_t(i), lxw_col_t(i),
                             c.format == ValueFormat::Text ? 28 : width, nullptr);
        worksheet_write_string(sheet, 0, lxw_col_t(i), c.heading.toUtf8().constData(), bold.text);
    }
    worksheet_freeze_panes(sheet, 1, 0);
    lxw_row_t row = 1;
    for (const ListTable::Row& r : table.rows) {
        const Formats& f = r.kind == ListTable::RowKind::Detail ? plain : bold;
        for (size_t i = 0; i < r.cells.size(); ++i) {
            const ListCell& c = r.cells[i];
            const lxw_col_t col = lxw_col_t(i);
            const ValueFormat colFormat =
                i < table.columns.size() ? table.columns[i].format : ValueFormat::Text;
            switch (c.kind) {
                case ListCell::Kind::Empty:
                    break;
                case ListCell::Kind::Text:
                    worksheet_write_string(sheet, row, col, c.text.toUtf8().constData(), f.text);
                    break;
                case ListCell::Kind::Amount:
                    // A sum in a quantity column keeps that column's look.
                    worksheet_write_number(sheet, row, col, c.amount.roundCents().toDouble(),
                                           colFormat == ValueFormat::Number    ? f.number
                                           : colFormat == ValueFormat::Integer ? f.integer
                                                                               : f.amount);
                    break;
                case ListCell::Kind::Number:
                    worksheet_write_number(
                        sheet, row, col, c.number,
                        colFormat == ValueFormat::Integer ? f.integer : f.number);
                    break;
                case ListCell::Kind::Date: {
                    lxw_datetime d{c.date.year(), c.date.month(), c.date.day(), 0, 0, 0};
                    worksheet_write_datetime(sheet, row, col, &d, f.date);
                    break;
                }
            }
        }
        ++row;
    }
    const lxw_error e = workbook_close(book);
    if (e != LXW_NO_ERROR) {
        if (reason)
            *reason = e == LXW_ERROR_CREATING_XLSX_FILE || e == LXW_ERROR_CREATING_TMPFILE
                          ? QStringLiteral("no se puede crear el fichero en esa carpeta")
                          : QStringLiteral("error %1 al escribir el libro").arg(int(e));
        return false;
    }
    return true;
}

bool writeExport(const ListTable& table, const QString& path, QString* reason) {
    if (path.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive))
        return writeCsv(table, path, reason);
    return writeXlsx(table, path, reason);
}

}  // namespace torvane::reports
