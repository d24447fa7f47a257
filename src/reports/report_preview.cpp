#include "reports/report_preview.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPrinterInfo>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

#include "core/dialogs.h"
#include "reports/list_export.h"
#include "reports/list_table.h"
#include "reports/report_output.h"

namespace torvane::reports {

ReportPreview::ReportPreview(ReportSource& source, Dialogs& dialogs, QWidget* parent)
    : QDialog(parent),
      source_(source),
      report_(source.first(nullptr)),
      dialogs_(dialogs),
      printer_(QPrinter::ScreenResolution) {
    setObjectName(QStringLiteral("frmInfExternos"));
    setWindowTitle(report_->title);
    setWindowFlags(windowFlags() | Qt::WindowMaximizeButtonHint);
    printer_.setFullPage(true);
    printer_.setPageLayout(report_->pageLayout());

    auto* bar = new QToolBar(this);
    view_ = new QPrintPreviewWidget(&printer_, this);
    view_->setObjectName(QStringLiteral("Vista"));
    connect(view_, &QPrintPreviewWidget::paintRequested, this, &ReportPreview::paint);
    connect(view_, &QPrintPreviewWidget::previewChanged, this, &ReportPreview::updatePageLabel);

    bar->addAction(QStringLiteral("|<"), this, [this] { view_->setCurrentPage(1); })
        ->setToolTip(QStringLiteral("Primera página"));
    bar->addAction(QStringLiteral("<"), this,
                   [this] { view_->setCurrentPage(std::max(1, view_->currentPage() - 1)); })
        ->setToolTip(QStringLiteral("Página anterior"));
    pageLabel_ = new QLabel(this);
    pageLabel_->setMinimumWidth(110);
    pageLabel_->setAlignment(Qt::AlignCenter);
    bar->addWidget(pageLabel_);
    bar->addAction(QStringLiteral(">"), this,
                   [this] {
                       const int next = view_->currentPage() + 1;
                       if (next > view_->pageCount()) layOutRest();
                       view_->setCurrentPage(std::min(view_->pageCount(), next));
                   })
        ->setToolTip(QStringLiteral("Página siguiente"));
    bar->addAction(QStringLiteral(">|"), this,
                   [this] {
                       layOutRest();
                       view_->setCurrentPage(view_->pageCount());
                   })
        ->setToolTip(QStringLiteral("Última página"));
    bar->addSeparator();
    bar->addAction(QStringLiteral("Alejar"), this, [this] { view_->zoomOut(); });
    bar->addAction(QStringLiteral("Acercar"), this, [this] { view_->zoomIn(); });
    bar->addAction(QStringLiteral("88 %"), this, [this] { view_->setZoomFactor(0.88); });
    bar->addSeparator();
    bar->addAction(QStringLiteral("Imprimir"), this, &ReportPreview::printWithDialog);
    bar->addAction(QStringLiteral("Guardar PDF"), this, &ReportPreview::saveAsPdf);
    // Only listings have rows and columns to export.
    if (report_->table)
        bar->addAction(QStringLiteral("Exportar"), this, &ReportPreview::exportListing)
            ->setObjectName(QStringLiteral("Exportar"));
    bar->addSeparator();
    searchEdit_ = new QLineEdit(this);
    searchEdit_->setObjectName(QStringLiteral("TxtBuscar"));
    searchEdit_->setPlaceholderText(QStringLiteral("Buscar texto"));
    searchEdit_->setMaximumWidth(220);
    connect(searchEdit_, &QLineEdit::returnPressed, this, &ReportPreview::search);
    bar->addWidget(searchEdit_);
    bar->addAction(QStringLiteral("Buscar"), this, &ReportPreview::search);
    bar->addSeparator();
    bar->addAction(QStringLiteral("Cerrar"), this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(bar);
    layout->addWidget(view_);

    view_->setZoomMode(QPrintPreviewWidget::CustomZoom);
    view_->setZoomFactor(0.88);
    view_->updatePreview();
    updatePageLabel();
    // The rest once the first page is on screen.
    if (!report_->complete) QTimer::singleShot(0, this, [this] { layOutRest(); });
}

int ReportPreview::currentPage() const {
    return view_->currentPage();
}

int ReportPreview::pageCount() const {
    return view_->pageCount();
}

bool ReportPreview::layOutRest() {
    if (report_->complete) return true;
    QString error;
    const RenderedReport* whole = source_.whole(&error);
    if (!whole) {
        report_ = source_.first(nullptr);
        dialogs_.critical(error);
        return false;
    }
    report_ = whole;
    const int page = view_->currentPage();
    view_->updatePreview();
    view_->setCurrentPage(page);
    updatePageLabel();
    return true;
}

void ReportPreview::paint(QPrinter* printer) {
    QPainter painter(printer);
    for (size_t i = 0; i < report_->pages.size(); ++i) {
        if (i > 0) printer->newPage();
        paintPage(painter, *report_, int(i), highlight_);
    }
}

void ReportPreview::updatePageLabel() {
    // "Página 1 de 1…" while the rest is still to be laid out.
    pageLabel_->setText(QStringLiteral("Página %1 de %2%3")
                            .arg(view_->currentPage())
                            .arg(std::max(1, view_->pageCount()))
                            .arg(report_->complete ? QString() : QStringLiteral("…")));
}

bool ReportPreview::find(const QString& text) {
    highlight_ = text.trimmed();
    // Laying out the rest repaints already.
    if (report_->complete || !layOutRest()) view_->updatePreview();
    const std::vector<int> pages = report_->pagesContaining(highlight_);
    if (pages.empty()) return false;
    // The next page after the current one that has the text, round to the first.
    const int current = view_->currentPage() - 1;
    int target = pages.front();
    for (int p : pages)
        if (p > current) {
            target = p;
            break;
        }
    if (pages.size() == 1 || target != current) view_->setCurrentPage(target + 1);
    updatePageLabel();
    return true;
}

void ReportPreview::search() {
    const QString text = searchEdit_->text().trimmed();
    if (text.isEmpty()) {
        highlight_.clear();
        view_->updatePreview();
        return;
    }
    if (!find(text))
        dialogs_.information(QStringLiteral("No se encuentra «%1» en el informe.").arg(text));
}

void ReportPreview::printWithDialog() {
    QPrinter printer(QPrinter::HighResolution);
    printer.setFullPage(true);
    printer.setPageLayout(report_->pageLayout());
    printer.setDocName(report_->title);
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() != QDialog::Accepted) return;
    if (!layOutRest()) return;
    if (!paintAll(printer, *report_))
        dialogs_.critical(
            QStringLiteral("No se puede imprimir el informe \"%1\".").arg(report_->name));
}

void ReportPreview::saveAsPdf() {
    QString path = dialogs_.saveFile(QStringLiteral("Guardar el informe como PDF"),
                                     QStringLiteral("Documentos PDF (*.pdf)|*.pdf"));
    if (path.isEmpty() || !layOutRest()) return;
    if (!path.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive)) path += QStringLiteral(".pdf");
    QString reason;
    if (!writePdf(*report_, path, &reason))
        dialogs_.critical(
            QStringLiteral("No se puede guardar el PDF \"%1\": %2.").arg(path, reason));
}

bool ReportPreview::exportListing() {
    QString path = dialogs_.saveFile(
        QStringLiteral("Exportar el listado"),
        QStringLiteral(
            "Libro de Excel (*.xlsx)|*.xlsx|Texto separado por punto y coma (*.csv)|*.csv"));
    if (path.isEmpty() || !layOutRest() || !report_->table) return false;
    if (!path.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive) &&
        !path.endsWith(QLatin1String(".xlsx"), Qt::CaseInsensitive))
        path += QStringLiteral(".xlsx");
    QString reason;
    if (!writeExport(*report_->table, path, &reason)) {
        dialogs_.critical(
            QStringLiteral("No se puede guardar el fichero \"%1\": %2.").arg(path, reason));
        return false;
    }
    return true;
}

void QtReportOutput::preview(ReportSource& report, Dialogs& dialogs) {
    ReportPreview window(report, dialogs, QApplication::activeWindow());
    window.setWindowModality(Qt::ApplicationModal);
    window.showMaximized();
    window.exec();
}

QString QtReportOutput::defaultPrinter() const {
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    return info.isNull() ? QString() : info.printerName();
}

bool QtReportOutput::print(const RenderedReport& report, QString* reason) {
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull()) {
        if (reason) *reason = QStringLiteral("no hay ninguna impresora instalada");
        return false;
    }
    QPrinter printer(info, QPrinter::HighResolution);
    printer.setFullPage(true);
    printer.setPageLayout(report.pageLayout());
    printer.setDocName(report.title);
    if (!printer.isValid() || !paintAll(printer, report)) {
        if (reason) *reason = QStringLiteral("la impresora no acepta el trabajo");
        return false;
    }
    return true;
}

}  // namespace torvane::reports
