#pragma once

#include "CommonDialog.h"

#include <QFileDialog>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <string>

class QWidget;

namespace marlo {

// The file chooser on Qt: a non-native QFileDialog, made anew for every
// showing from the properties, which outlive it. The chooser never asks
// its own overwrite question and accepts a typed name whether or not it
// exists; the commands test the name themselves.
class QtCommonDialog : public CommonDialog {
public:
    // `parent` is the window the chooser is modal over.
    explicit QtCommonDialog(QWidget* parent = nullptr);

    void SetCancelError(bool cancelError) override;
    void SetInitDir(const std::string& folder) override;
    void SetDefaultExt(const std::string& extension) override;
    void SetFilter(const std::string& filter) override;
    void SetDialogTitle(const std::string& title) override;
    Status ShowOpen() override;
    Status ShowSave() override;
    std::string FileName() const override;

private:
    Status show(QFileDialog::AcceptMode mode);

    QPointer<QWidget> parent_;
    bool cancelError_ = false;
    std::string initDir_, defaultExt_, filter_, dialogTitle_, fileName_;
};

// The chooser's list of file types for a filter "desc|pattern|desc|pattern":
// one "desc (patterns)" per pair, in order. "*.*" becomes "*" so that names
// without a dot show too; ";" between patterns becomes a blank.
QStringList nameFiltersFor(const std::string& filter);

// The suffix that a typed name without an extension receives: "*.mdb",
// ".mdb" and "mdb" give "mdb"; a pattern matching anything gives none.
QString defaultSuffixFor(const std::string& defaultExt);

// Number and description of a showing that is cancelled with CancelError set.
inline constexpr int CancelErrorNumber = 32755;

} // namespace marlo
