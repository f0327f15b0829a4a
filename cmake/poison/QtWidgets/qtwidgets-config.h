// This folder is searched first by the core library only. Every QtWidgets header pulls in
// this file, so a widget include in the core stops the build here.
#error "The core library links QtCore and QtGui only: move widget code to the widgets library."
