-- Version 4: the cost of goods. Every stock-in, sales-out and sales-return document keeps, per
-- product, one movement in cost_move: the quantity it moves the stock by (negative for a
-- sale), its amount, and in the order of the documents the quantity and moving-average cost
-- after it. A sales line records the cost per unit of the moment it was saved (unitcost, NULL
-- while the product has no stock-in) and the cost of its goods (cost). cost_product keeps
-- each product's quantity and moving-average cost after its last movement (avgcost NULL:
-- unknown). Tables of our own; the document tables keep their layout. Rebuilt whole: a copy
-- that was set back to an older version gets them anew.
DROP TABLE IF EXISTS cost_move;
DROP TABLE IF EXISTS cost_product;
CREATE TABLE cost_move (
    seq INTEGER, doctable TEXT, oddnum TEXT, code TEXT, qty REAL, amount REAL,
    unitcost REAL, cost REAL, qtyafter REAL, avgafter REAL);
CREATE INDEX cost_move_code ON cost_move (code, seq);
CREATE INDEX cost_move_doc ON cost_move (oddnum, doctable);
CREATE TABLE cost_product (code TEXT, qty REAL, avgcost REAL);
CREATE INDEX cost_product_code ON cost_product (code);
-- The movements of the stored documents, in the order of their dates; on one date the
-- stock-ins come first, then the sales, then the returns. Rows whose quantity or amount is no
-- plain number are left out.
INSERT INTO cost_move (seq, doctable, oddnum, code, qty, amount)
SELECT ROW_NUMBER() OVER (ORDER BY substr(oddnum, 1, 8), r, oddnum, code), doctable, oddnum, code,
sum(q), sum(a) FROM (
SELECT 'entry' AS doctable, 1 AS r, oddnum, code, CAST("count" AS REAL) AS q, CAST(total AS REAL) AS a FROM entry
WHERE code <> '' AND "count" <> '' AND "count" NOT IN ('-', '.', '-.') AND "count" NOT LIKE '%.%.%' AND "count" NOT LIKE '_%-%' AND replace(replace(replace(replace(replace(replace(replace(replace(replace(replace(replace(replace("count", '0', ''), '1', ''), '2', ''), '3', ''), '4', ''), '5', ''), '6', ''), '7', ''), '8', ''), '9', ''), '.', ''), '-', '') = ''
AND total <> '' AND total NOT IN ('-', '.', '-.') AND total NOT LIKE '%.%.%' AND total NOT LIKE '_%-%' AND replace(replace(replace(replace(replace(replace(replace(replace(replace(replace(replace(replace(total, '0', ''), '1', ''), '2', ''), '3', ''), '4', ''), '5', ''), '6', ''), '7', ''), '8', ''), '9', ''), '.', ''), '-', '') = ''
UNION ALL
SELECT 'saleout' AS doctable, 2 AS r, oddnum, code, -CAST("count" AS REAL) AS q, CAST(total AS REAL) AS a FROM saleout
WHERE code <> '' AND "count" <> '' AND "count" NOT IN ('-', '.', '-.') AND "count" NOT LIKE '%.%.%' AND "count" NOT LIKE '_%-%' AND replace(replace(replace(replace(replace(replace(replace(replace(replace(replace(replace(replace("count", '0', ''), '1', ''), '2', ''), '3', ''), '4', ''), '5', ''), '6', ''), '7', ''), '8', ''), '9', ''), '.', ''), '-', '') = ''
AND total <> '' AND total NOT IN ('-', '.', '-.') AND total NOT LIKE '%.%.%' AND total NOT LIKE '_%-%' AND replace(replace(replace(replace(replace(replace(replace(replace(replace(replace(replace(replace(total, '0', ''), '1', ''), '2', ''), '3', ''), '4', ''), '5', ''), '6', ''), '7', ''), '8', ''), '9', ''), '.', ''), '-', '') = ''
UNION ALL
SELECT 'salein' AS doctable, 3 AS r, oddnum, code, CAST("count" AS REAL) AS q, CAST(total AS REAL) AS a FROM salein
WHERE code <> '' AND "count" <> '' AND "count" NOT IN ('-', '.', '-.') AND "count" NOT LIKE '%.%.%' AND "count" NOT LIKE '_%-%' AND replace(replace(replace(replace(replace(replace(replace(replace(replace(replace(replace(replace("count", '0', ''), '1', ''), '2', ''), '3', ''), '4', ''), '5', ''), '6', ''), '7', ''), '8', ''), '9', ''), '.', ''), '-', '') = ''
AND total <> '' AND total NOT IN ('-', '.', '-.') AND total NOT LIKE '%.%.%' AND total NOT LIKE '_%-%' AND replace(replace(replace(replace(replace(replace(replace(replace(replace(replace(replace(replace(total, '0', ''), '1', ''), '2', ''), '3', ''), '4', ''), '5', ''), '6', ''), '7', ''), '8', ''), '9', ''), '.', ''), '-', '') = ''
) moves GROUP BY doctable, r, oddnum, code;
-- The moving average along each product's movements: a stock-in with a quantity adds its
-- amount to the stock on hand (valued at the average, none counted below zero); sales and
-- returns leave the average as it is and record it as their cost per unit. (The statements
-- run through the program's dialect, in which "+" joins texts: sums are written as "a - (0 - b)".)
UPDATE cost_move SET qtyafter = w.q, avgafter = w.avg,
unitcost = CASE WHEN cost_move.doctable <> 'entry' THEN w.before END FROM (
WITH RECURSIVE walk (code, seq, q, avg, before) AS (
SELECT m.code, m.seq, m.qty, CASE WHEN m.doctable = 'entry' AND m.qty > 0 THEN m.amount / m.qty END,
CAST(NULL AS REAL)
FROM cost_move m WHERE m.seq = (SELECT min(s.seq) FROM cost_move s WHERE s.code = m.code)
UNION ALL
SELECT m.code, m.seq, w.q - (0 - m.qty),
CASE WHEN m.doctable = 'entry' AND m.qty > 0 THEN
CASE WHEN w.avg IS NULL OR w.q <= 0 THEN m.amount / m.qty ELSE (w.q * w.avg - (0 - m.amount)) / (w.q - (0 - m.qty)) END
ELSE w.avg END,
w.avg
FROM walk w JOIN cost_move m ON m.code = w.code
AND m.seq = (SELECT min(s.seq) FROM cost_move s WHERE s.code = w.code AND s.seq > w.seq))
SELECT code, seq, q, avg, before FROM walk) w
WHERE cost_move.code = w.code AND cost_move.seq = w.seq;
UPDATE cost_move SET cost = round(CAST(CASE WHEN doctable = 'saleout' THEN -qty ELSE qty END * unitcost AS NUMERIC), 2)
WHERE doctable <> 'entry' AND unitcost IS NOT NULL;
INSERT INTO cost_product (code, qty, avgcost)
SELECT m.code, m.qtyafter, m.avgafter FROM cost_move m
WHERE m.seq = (SELECT max(s.seq) FROM cost_move s WHERE s.code = m.code);
