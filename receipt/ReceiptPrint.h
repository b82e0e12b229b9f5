#pragma once

class QPrinter;
class ReceiptLayout;

// Sets the printer to a page of the roll's width and the length the receipt needs, and prints
// the receipt on it, centred on the roll. False when the printer cannot be started.
bool PrintReceiptPage(QPrinter& printer, const ReceiptLayout& layout);
