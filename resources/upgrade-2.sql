-- Version 2: each product's minimum stock, for the low-stock warnings. A table of our own, so
-- the product table that other workstations and the label program read keeps its layout.
CREATE TABLE minstock (code TEXT, minimum TEXT);
CREATE INDEX minstock_code ON minstock (code);
