-- Version 6: what the program keeps of each stored document line beside the document tables:
-- one row per line row of saleout, salein and entry, found by its table, its number and its
-- line texts. product is the code of the product the line was recorded against as that
-- product is coded today (renumbering the catalogue moves it along, deleting the product
-- empties it), so stock given back always reaches that product; remark is the line's tax
-- option where the document table keeps none (sales returns).
CREATE TABLE docline (
    tbl TEXT, oddnum TEXT, mc TEXT, shortname TEXT, code TEXT, spec TEXT, price TEXT,
    qty TEXT, discount TEXT, total TEXT, product TEXT, remark TEXT);
CREATE INDEX docline_oddnum ON docline (oddnum);
CREATE INDEX docline_product ON docline (product);
-- The lines stored so far: a line's product is the one under its code when that product still
-- carries the line's name (or no name at all); otherwise it is unknown and moves no stock.
INSERT INTO docline (tbl, oddnum, mc, shortname, code, spec, price, qty, discount, total,
    product, remark)
    SELECT 'saleout', oddnum, mc, shortname, code, spec, price, "count", discount, total,
    CASE WHEN EXISTS (SELECT 1 FROM property WHERE property.code = saleout.code AND
    (property.name = saleout.mc OR property.name IS NULL OR property.name = ''))
    THEN saleout.code ELSE '' END, '' FROM saleout;
INSERT INTO docline (tbl, oddnum, mc, shortname, code, spec, price, qty, discount, total,
    product, remark)
    SELECT 'salein', oddnum, mc, shortname, code, spec, price, "count", discount, total,
    CASE WHEN EXISTS (SELECT 1 FROM property WHERE property.code = salein.code AND
    (property.name = salein.mc OR property.name IS NULL OR property.name = ''))
    THEN salein.code ELSE '' END, '' FROM salein;
INSERT INTO docline (tbl, oddnum, mc, shortname, code, spec, price, qty, discount, total,
    product, remark)
    SELECT 'entry', oddnum, mc, shortname, code, spec, price, "count", '', total,
    CASE WHEN EXISTS (SELECT 1 FROM property WHERE property.code = entry.code AND
    (property.name = entry.mc OR property.name IS NULL OR property.name = ''))
    THEN entry.code ELSE '' END, '' FROM entry;
