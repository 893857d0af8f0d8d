#pragma once
// The progress dialog shown while a long sheet of labels is written. It
// appears only when the writing takes a while, and being modal it keeps the
// person from changing the records meanwhile.

#include "label_sheet.h"

#include <QProgressDialog>

namespace output {

class LabelProgress {
public:
    explicit LabelProgress(int labels);
    // What the writers call with the labels written so far.
    Progress callback();

private:
    QProgressDialog m_dialog;
    int m_step;
};

} // namespace output
