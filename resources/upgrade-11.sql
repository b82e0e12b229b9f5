-- Version 11: returns taken from a sale. Each line of a sales return that was taken from a line
-- of a sales-out document records where it came from: the return's number and line (by the
-- texts docline keeps of a line, as a JSON list), the sale's number and line the same way, and
-- the quantity returned. keptid is empty while the return stands; a deleted return keeps its
-- rows here under the id of its harbor_deleted row, so that a restore puts them back.
CREATE TABLE IF NOT EXISTS harbor_return_origin (
    retoddnum TEXT, retline TEXT, saleoddnum TEXT, saleline TEXT, qty TEXT, keptid TEXT);
CREATE INDEX IF NOT EXISTS harbor_return_origin_sale ON harbor_return_origin (saleoddnum);
CREATE INDEX IF NOT EXISTS harbor_return_origin_ret ON harbor_return_origin (retoddnum);
