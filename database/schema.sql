-- The expense database. Both programs read and write these tables; neither creates them:
-- `quillmar-db create` writes a new file from this script.
--
-- Declared types tell the access layer each column's value family: VARCHAR/TEXT text (an empty
-- text is stored as NULL), BOOLEAN 0/1, TINYINT unsigned byte, SMALLINT 16-bit, INTEGER 32-bit,
-- CURRENCY an integer holding the amount x 10,000, DATETIME text 'YYYY-MM-DD HH:MM:SS'.
-- Every table has an explicit integer key, so row ids (the record sets' bookmarks) survive
-- compaction.

CREATE TABLE Expenses (
    ExpID       INTEGER PRIMARY KEY,
    ExpType     SMALLINT,
    ExpCat      VARCHAR(8),
    ExpDate     DATETIME,
    ExpYear     SMALLINT,
    Item        VARCHAR(20),
    Detail      VARCHAR(80),
    Vendor      VARCHAR(20),
    ChkNbr      VARCHAR(6),
    AcctCode    VARCHAR(4),
    Amount      CURRENCY,
    Reimburse   BOOLEAN DEFAULT FALSE,
    Status      SMALLINT DEFAULT 0,
    ProjectID   INTEGER,
    TypeComp    TINYINT
);
-- The reports select one type with one year or one project. The type comes second on purpose:
-- an index led by ExpType is taken for the tree's "ORDER BY ExpType, ..." and turns its full
-- ordered read into random access, measured 1.6 times slower than a scan and sort.
CREATE INDEX ExpensesByYearType ON Expenses (ExpYear, ExpType);
CREATE INDEX ExpensesByProjectType ON Expenses (ProjectID, ExpType);

CREATE TABLE lkpExpTypes (
    TypeID      INTEGER PRIMARY KEY,
    ExpType     SMALLINT NOT NULL,
    ExpLabel    VARCHAR(4),
    ExpDesc     VARCHAR(32),
    ExpComp     TINYINT DEFAULT 1
);
CREATE UNIQUE INDEX lkpExpTypesByType ON lkpExpTypes (ExpType);

CREATE TABLE lkpExpCategories (
    CategoryID  INTEGER PRIMARY KEY,
    ExpType     SMALLINT NOT NULL,
    ExpCat      VARCHAR(8) NOT NULL,
    CatDesc     VARCHAR(32)
);
-- Category names are unique within a type whatever their letter case, as the editor's
-- duplicate test finds them.
CREATE UNIQUE INDEX lkpExpCategoriesByTypeCat ON lkpExpCategories (ExpType, ExpCat COLLATE NOCASE);

CREATE TABLE lkpAccounts (
    AccountID   INTEGER PRIMARY KEY,
    AcctCode    VARCHAR(4) NOT NULL,
    AcctDesc    VARCHAR(32)
);
CREATE UNIQUE INDEX lkpAccountsByCode ON lkpAccounts (AcctCode COLLATE NOCASE);

CREATE TABLE Projects (
    ProjectKey  INTEGER PRIMARY KEY,
    ProjectID   INTEGER NOT NULL,
    ProjectName VARCHAR(16),
    ProjectDesc VARCHAR(50),
    Active      BOOLEAN DEFAULT TRUE
);
CREATE UNIQUE INDEX ProjectsByID ON Projects (ProjectID);

CREATE TABLE lkpExpBillStatus (
    StatusKey   INTEGER PRIMARY KEY,
    Status      SMALLINT NOT NULL,
    StatusCode  VARCHAR(4),
    StatDesc    VARCHAR(32)
);

CREATE TABLE QlVersion (
    VersionKey  INTEGER PRIMARY KEY,
    AppCode     VARCHAR(16) NOT NULL,
    Major       SMALLINT,
    Minor       SMALLINT
);

INSERT INTO QlVersion (AppCode, Major, Minor) VALUES ('Quillmar', 1, 0), ('PalmUpdt', 1, 0);
INSERT INTO lkpExpBillStatus (Status, StatusCode, StatDesc) VALUES
    (0, 'NA', 'Not reimbursable'),
    (1, 'IN', 'Incurred'),
    (2, 'SU', 'Submitted'),
    (3, 'PD', 'Paid');
INSERT INTO lkpExpTypes (ExpType, ExpLabel, ExpDesc, ExpComp) VALUES
    (0, 'TAX', 'Tax Deductible', 0),
    (1, 'EST', 'Estimated Tax', 0);
INSERT INTO lkpExpCategories (ExpType, ExpCat, CatDesc) VALUES
    (0, 'GENERAL', 'General deductible expense'),
    (1, 'FEDERAL', 'Federal estimated tax');
INSERT INTO lkpAccounts (AcctCode, AcctDesc) VALUES ('CASH', 'Cash');
