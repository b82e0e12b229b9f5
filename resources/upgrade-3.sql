-- Version 3: the document number indexes also hold the number columns that the statistics add
-- up, so a period's figures ("oddnum >= ? AND oddnum < ?", see PrefixRange) are read from the
-- index alone, and the number draw and the year list seek in it. Same names, same first
-- column: every lookup by number that used them still does.
DROP INDEX IF EXISTS saleout_oddnum;
CREATE INDEX saleout_oddnum ON saleout (oddnum, freceivable, freceipt);
DROP INDEX IF EXISTS salein_oddnum;
CREATE INDEX salein_oddnum ON salein (oddnum, freceivable, freceipt);
DROP INDEX IF EXISTS entry_oddnum;
CREATE INDEX entry_oddnum ON entry (oddnum, fmoney);
