#pragma once

#include <QString>
#include <QWidget>

namespace torvane {

class OpcEntrada;
class Services;
class Session;

// The date-range screen of the listings: the key names the listing, the id the
// customer or insurer chosen before (for the keys that take one).
class Fechas : public QWidget {
    Q_OBJECT
  public:
    Fechas(Session& session, Services& services, QWidget* parent = nullptr);

    void setKey(const QString& key) { key_ = key; }
    void setId(qint64 id) { id_ = id; }
    QString key() const { return key_; }
    qint64 id() const { return id_; }

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void seleccionar();

    Session& session_;
    Services& services_;
    OpcEntrada* desde_;
    OpcEntrada* hasta_;
    QString key_;
    qint64 id_ = 0;
};

}  // namespace torvane
