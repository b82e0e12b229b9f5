-- Version 7: a product's movements by kind of document and number, so that the last sale of
-- every product (the slow movers of 经营报表) is one look in the index per product instead of
-- a walk through all its movements. The tables keep their layout.
CREATE INDEX IF NOT EXISTS cost_move_sale ON cost_move (code, doctable, oddnum);
