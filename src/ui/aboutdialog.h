// The About window: a picture and a few words about Veltrano.
#pragma once

#include <QDialog>

class AboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit AboutDialog(QWidget *parent = nullptr);

    /// The picture beside the text, drawn by the program itself.
    static QPixmap picture();
};
