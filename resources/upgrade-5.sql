-- Version 5: operator accounts, what each role may do, and the log of every change. Tables of
-- our own, the same on the local file and the server. A copy restored from an older version
-- may hold them already: then they stay as they are.
-- An operator: the password only as a libsodium Argon2id string; wrong passwords in a row
-- and, after too many, the time (UTC, ISO) the account stays locked until.
CREATE TABLE IF NOT EXISTS harbor_operator (
    name TEXT, pwhash TEXT, role TEXT, employeeid TEXT, failures INTEGER, lockeduntil TEXT);
CREATE INDEX IF NOT EXISTS harbor_operator_name ON harbor_operator (name);
-- The permissions of each role, one row per role and permission key.
CREATE TABLE IF NOT EXISTS harbor_role_permission (role TEXT, permission TEXT);
CREATE INDEX IF NOT EXISTS harbor_role_permission_role ON harbor_role_permission (role);
INSERT INTO harbor_role_permission (role, permission)
SELECT column1, column2 FROM (VALUES
    ('店主', 'delete_document'),
    ('店主', 'delete_stock'),
    ('店主', 'change_document'),
    ('店主', 'settle'),
    ('店主', 'below_price'),
    ('店主', 'catalogue'),
    ('店主', 'purchase_prices'),
    ('店主', 'accounts'),
    ('店主', 'parties'),
    ('店主', 'backup'),
    ('店主', 'network'),
    ('店主', 'operators'),
    ('店长', 'delete_document'),
    ('店长', 'delete_stock'),
    ('店长', 'change_document'),
    ('店长', 'settle'),
    ('店长', 'below_price'),
    ('店长', 'catalogue'),
    ('店长', 'purchase_prices'),
    ('店长', 'accounts'),
    ('店长', 'parties'),
    ('店长', 'backup')) AS defaults
WHERE NOT EXISTS (SELECT 1 FROM harbor_role_permission);
-- Settings of the accounts (idle minutes before asking again).
CREATE TABLE IF NOT EXISTS harbor_setting (name TEXT, value TEXT);
-- The log: one entry per change, chained by the hash of the entry before.
CREATE TABLE IF NOT EXISTS harbor_audit (
    seq INTEGER, at TEXT, operator TEXT, authorizer TEXT, workstation TEXT, action TEXT,
    object TEXT, before_rows TEXT, after_rows TEXT, prevhash TEXT, hash TEXT);
CREATE INDEX IF NOT EXISTS harbor_audit_seq ON harbor_audit (seq);
-- The row images of the change in progress, until its entry is written (the server; the
-- local file keeps them in a temporary table of the connection).
CREATE TABLE IF NOT EXISTS harbor_audit_stage (
    entry TEXT, tablename TEXT, op TEXT, before_row TEXT, after_row TEXT);
CREATE INDEX IF NOT EXISTS harbor_audit_stage_entry ON harbor_audit_stage (entry);
-- The newest entry's number and hash, kept apart from the log (the server).
CREATE TABLE IF NOT EXISTS harbor_audit_head (seq INTEGER, hash TEXT);
