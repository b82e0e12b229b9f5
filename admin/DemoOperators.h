#pragma once

class CConnection;

// The demo shop's operators, so a first look shows the accounts and the log: 老板 (店主),
// 李店长 (店长), 小王 and 小张 (收银员), each with the password "demo" + their number
// (demo1 ... demo4), and a few logged actions by them: sign-ins, a failed sign-in, a price
// changed, a debt settled with a manager's authorization and a document deleted with its
// stock given back.
void AddDemoOperators(CConnection& connection);
