-- Version 8: deleted documents stay visible. Each delete of a whole document keeps its rows
-- (and what docline kept of them) as JSON, with who deleted it, where and when, and whether
-- its stock was given back; a restore puts the rows back and notes who restored it. costids
-- names the cost movements a delete that kept the stock left in place, for the restore.
CREATE TABLE IF NOT EXISTS harbor_deleted (
    tbl TEXT, oddnum TEXT, party TEXT, money TEXT, deletedat TEXT, deletedby TEXT,
    workstation TEXT, stockback INTEGER, rowsjson TEXT, doclinejson TEXT, costids TEXT,
    restoredat TEXT, restoredby TEXT);
CREATE INDEX IF NOT EXISTS harbor_deleted_tbl ON harbor_deleted (tbl, deletedat);
