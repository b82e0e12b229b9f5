#pragma once

class QWidget;

// The operator commands of the main window.

// At start-up: when the shop has operator accounts, asks for 操作员 and 密码; false when the
// user gave up (the program ends). True at once for a shop without accounts.
bool SignInAtStart(QWidget* parent);
// From then on asks again after the idle minutes the owner set (CIdleSignIn).
void WatchIdleOperator(QWidget* mainWindow);
// 切换操作员: another operator signs in; cancelled, the one before stays.
void SwitchOperator(QWidget* parent);
// 操作员管理, for whoever may manage operators (anyone while the shop has no accounts).
void ShowOperatorWindow(QWidget* parent);
// 操作日志, for whoever may manage operators.
void ShowAuditLogWindow(QWidget* parent);
