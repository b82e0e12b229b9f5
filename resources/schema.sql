-- The shop database of 远航五交化销售管理系统, version 1.
-- Every column holds text except the three numeric copies of amounts used by the statistics.
-- Statements are separated by lines that end with a semicolon.

CREATE TABLE harbor_schema (version INTEGER NOT NULL);
INSERT INTO harbor_schema (version) VALUES (1);

CREATE TABLE name1 (bh TEXT, mc TEXT);
CREATE TABLE name2 (bh TEXT, mc TEXT);
CREATE TABLE name3 (bh TEXT, mc TEXT);
CREATE TABLE name4 (bh TEXT, mc TEXT);
CREATE TABLE name5 (bh TEXT, "count" TEXT, pack TEXT);
CREATE INDEX name1_bh ON name1 (bh);
CREATE INDEX name2_bh ON name2 (bh);
CREATE INDEX name3_bh ON name3 (bh);
CREATE INDEX name4_bh ON name4 (bh);
CREATE INDEX name5_bh ON name5 (bh);

CREATE TABLE property (
    code TEXT, name TEXT, shortname TEXT, spec TEXT, price TEXT,
    discount1 TEXT, discount2 TEXT, discount3 TEXT, total TEXT,
    longpinyin TEXT, shortpinyin TEXT);
CREATE INDEX property_code ON property (code);
CREATE INDEX property_name ON property (name);

CREATE TABLE printcodedata (shortname TEXT, spec TEXT, code TEXT);

CREATE TABLE customer (mc TEXT, linkman TEXT, phone TEXT, address TEXT, remark TEXT, pinyin TEXT);
CREATE INDEX customer_mc ON customer (mc);
CREATE TABLE supplier (mc TEXT, linkman TEXT, phone TEXT, address TEXT, remark TEXT, pinyin TEXT);
CREATE INDEX supplier_mc ON supplier (mc);
CREATE TABLE employee (name TEXT, employeeid TEXT);
CREATE INDEX employee_id ON employee (employeeid);
CREATE TABLE companyinfo (
    name TEXT, telephone TEXT, address TEXT, bank TEXT, remarks1 TEXT, remarks2 TEXT, remarks3 TEXT);

CREATE TABLE saleout (
    oddnum TEXT, customer TEXT, mydate TEXT, receivable TEXT, receipt TEXT,
    freceivable REAL, freceipt REAL, state TEXT, employeename TEXT, employeeid TEXT,
    mc TEXT, shortname TEXT, code TEXT, spec TEXT, price TEXT, "count" TEXT, discount TEXT,
    total TEXT, pcs TEXT, remarks TEXT, invoicedate TEXT);
CREATE INDEX saleout_oddnum ON saleout (oddnum);
CREATE INDEX saleout_customer ON saleout (customer);

CREATE TABLE salein (
    oddnum TEXT, customer TEXT, mydate TEXT, receivable TEXT, receipt TEXT,
    freceivable REAL, freceipt REAL, state TEXT, employeename TEXT, employeeid TEXT,
    mc TEXT, shortname TEXT, code TEXT, spec TEXT, price TEXT, "count" TEXT, discount TEXT,
    total TEXT, pcs TEXT, remarks TEXT);
CREATE INDEX salein_oddnum ON salein (oddnum);
CREATE INDEX salein_customer ON salein (customer);

CREATE TABLE entry (
    oddnum TEXT, supplier TEXT, mydate TEXT, money TEXT, fmoney REAL, state TEXT,
    mc TEXT, shortname TEXT, code TEXT, spec TEXT, price TEXT, "count" TEXT, total TEXT);
CREATE INDEX entry_oddnum ON entry (oddnum);
CREATE INDEX entry_supplier ON entry (supplier);
