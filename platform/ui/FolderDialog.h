#pragma once

#include <QFileDialog>
#include <QString>

class QPushButton;

// Qt's choose-folder dialog, which never takes the folder it opens in
// without the user's word: until a folder is selected, a path typed or
// another folder entered, its accept button is off and Return does nothing.
// A typed path and Return choose that folder at once.
class FolderDialog : public QFileDialog {
  public:
    explicit FolderDialog(QWidget* parent);

    void accept() override;

  private:
    // Whether the user has named a folder, not just looked at the first one.
    bool chosen() const;
    // Turns the accept button off whatever switched it on, while nothing
    // is chosen or what is chosen is no folder.
    void guardAcceptButton();

    QString start_;
    QPushButton* acceptButton_ = nullptr;
};
