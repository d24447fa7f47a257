#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QWidget>
#include <optional>
#include <vector>

#include "controls/data_grid.h"
#include "controls/opc_entrada.h"
#include "core/handoff.h"
#include "core/record_mode.h"
#include "core/services.h"
#include "core/session.h"
#include "masters/insurers.h"
#include "tow/tow_pricing.h"

namespace torvane {

// The tow report editor: the job, its owner and vehicle, lines generated from the
// insurer's tariff or typed by hand (stored as they are made), saved and printed.
// Closing without saving puts back the lines the report had when it was opened.
class PartesGrua : public QWidget {
    Q_OBJECT
  public:
    // proposeNumber: a new report numbered as the series says; false for a stored one
    // (editReport).
    PartesGrua(Session& session, Services& services, bool proposeNumber = true,
               QWidget* parent = nullptr);

    // A stored report: every field, its lines and a copy of them for cancel. False (with
    // the message shown) when it cannot be edited.
    bool editReport(const QString& number);
    // "Nuevo Parte" proposes its own number.
    void setNumber(const QString& number);
    void setCustomer(qint64 customerId);
    void setVehicle(const VehicleChoice& choice);
    bool isSaved() const { return saved_; }

  Q_SIGNALS:
    void reportSaved(const QString& number);

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    QLineEdit* text1(int index) const;
    QString number() const;
    void chooseInsurer();
    void buscarCliente();
    void buscarVehiculo();
    void generar();
    void anadirLinea();
    void guardar();
    void cancelar();
    void reloadLines();
    // Puts back the lines held when the report was opened.
    bool restoreLines();

    Session& session_;
    Services& services_;
    RecordMode mode_;
    QComboBox* combo_[5] = {};  // Combo1 .. Combo4 at 1 .. 4
    QCheckBox* check1_ = nullptr;
    OpcEntrada* opc_[4] = {};  // OpcEntrada1 .. 3 at 1 .. 3
    QPlainTextEdit* text2_ = nullptr;
    QLineEdit* txtIdCli_ = nullptr;
    DataGrid* lines_ = nullptr;
    insurers::Tariff tariff_;
    std::vector<tow::TowLine> copy_;
    std::optional<qint64> storedId_;
    bool saved_ = false;
    bool restored_ = false;
};

}  // namespace torvane
