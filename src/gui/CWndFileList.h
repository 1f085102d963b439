#pragma once

#include <QFrame>

#include "package/LoadedPackage.h"

namespace varnow::gui {

// The package path field: shows the chosen package's path (shortened in the middle when it
// does not fit) and owns the loaded package, whose extracted firmware goes with it.
class CWndFileList : public QFrame {
public:
    explicit CWndFileList(QWidget* parent);

    void SetPackagePath(const QString& path);
    QString packagePath() const;
    LoadedPackage& package() { return m_package; }
    // What the field shows for its current width.
    QString shownText() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    LoadedPackage m_package;
};

}  // namespace varnow::gui
