#pragma once
// What report scripts show in the resident program: ShowMessage, MessageDlg and
// InputQuery as modal boxes when there is a display, standard error (and the scripts'
// default answers) on the offscreen platform; Application.ProcessMessages processes the
// window system's pending events.

void InstallScriptDialogs();
