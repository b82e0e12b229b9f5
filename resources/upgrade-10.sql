-- Version 10: stock counts (盘点). A posted count is one correction document: its header
-- (number, what was counted, when it started and was posted, by whom) and one line per
-- counted product with the book stock it found at the posting, the counted stock, the
-- difference and its value at the moving-average cost (NULL: the cost was unknown). Its
-- stock moves are kept in cost_move under the kind 'count'. Tables of our own.
CREATE TABLE IF NOT EXISTS harbor_stocktake (
    oddnum TEXT, scope TEXT, startedat TEXT, postedat TEXT, postedby TEXT, workstation TEXT);
CREATE INDEX IF NOT EXISTS harbor_stocktake_oddnum ON harbor_stocktake (oddnum);
CREATE TABLE IF NOT EXISTS harbor_stocktake_line (
    oddnum TEXT, code TEXT, name TEXT, spec TEXT, book TEXT, counted TEXT, difference TEXT,
    unitcost REAL, value REAL);
CREATE INDEX IF NOT EXISTS harbor_stocktake_line_oddnum ON harbor_stocktake_line (oddnum);
-- Posting a count is a change of stock: the roles that may change the catalogue may post one.
INSERT INTO harbor_role_permission (role, permission)
SELECT DISTINCT role, 'stock_count' FROM harbor_role_permission WHERE permission = 'catalogue'
AND NOT EXISTS (SELECT 1 FROM harbor_role_permission WHERE permission = 'stock_count');
