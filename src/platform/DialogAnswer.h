// A dialog or box that an operation waits on. It is shown without blocking any window: the
// toolkit drops a title-bar close of a window that a modal one blocks, and the user must be able
// to leave the program at any moment. The window keeps its own controls from starting anything
// meanwhile.
#pragma once

#include "platform/Task.h"

class QDialog;

// Shows the dialog and gives its result (QDialog::Accepted, Rejected, or a box's button) once the
// user has answered; Rejected when the dialog is closed or deleted unanswered.
Task<int> AnswerOf(QDialog& dialog);
