#pragma once

#include <QWidget>

namespace torvane {

// The open/create dialog shown when no database is known: open an existing
// database, create a new one, or leave the program.
class Inicial2 : public QWidget {
    Q_OBJECT
  public:
    explicit Inicial2(QWidget* parent = nullptr);

    // Closes the dialog without it counting as the user leaving the program.
    void dismiss();

  Q_SIGNALS:
    void abrir();  // cmdAbrir
    void nuevo();  // CmdNuevo
    void salir();  // CmdSalir, or the window closed by the user

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    bool dismissed_ = false;
};

}  // namespace torvane
