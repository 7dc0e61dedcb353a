#include "platform/toolkit/CellTable.h"

#include "platform/toolkit/PictureBox.h"

namespace toolkit {

CellTable::~CellTable() {
    if (surface_ != nullptr) surface_->Table(nullptr);
}

void CellTable::ReportCursorChanged() const {
    if (surface_ == nullptr) return;
    if (FormView* view = surface_->view_.Get()) view->CursorChanged(*surface_);
}

void CellTable::ReportCellChanged(int row, int column) const {
    if (surface_ == nullptr) return;
    if (FormView* view = surface_->view_.Get()) view->CellChanged(*surface_, row, column);
}

}  // namespace toolkit
