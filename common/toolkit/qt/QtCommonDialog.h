#pragma once

#include "FileChooser.h"

#include <QPointer>
#include <QString>

class QWidget;

namespace marlo {

// The file chooser on Qt: a non-native QFileDialog, made anew for every
// showing from the request.
class QtCommonDialog : public FileChooser {
public:
    // `parent` is the window the chooser is modal over; each showing bears
    // the chooser's `name`.
    explicit QtCommonDialog(QWidget* parent = nullptr, QString name = {});

protected:
    Result<ChooserAnswer> showChooser(const ChooserRequest& request) override;

private:
    QPointer<QWidget> parent_;
    QString name_;
};

} // namespace marlo
