-- Version 9: each settlement made in a query window, with the date the clerk gave it (the day
-- the customer paid, which may be earlier than the day it is entered), the amount received it
-- set, who entered it, on which computer and when.
CREATE TABLE IF NOT EXISTS harbor_settlement (
    tbl TEXT, oddnum TEXT, state TEXT, receipt TEXT, settledon TEXT, madeat TEXT,
    operator TEXT, workstation TEXT);
CREATE INDEX IF NOT EXISTS harbor_settlement_doc ON harbor_settlement (tbl, oddnum);
