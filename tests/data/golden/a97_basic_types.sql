--
-- DUMP FILE
--
-- Database is ported from MS Access
--------------------------------------------------------------------
-- Created using "Tabulon" form https://tabulon.example/
-- Program Version UNITTEST
--
-- OPTIONS:
--   sourcefilename=a97_basic_types.mdb
--   sourceusername=
--   sourcepassword=
--   sourcesystemdatabase=
--   destinationserver=(local)
--   destinationauthentication=Windows
--   destinationdatabase=Converted
--   dropdatabase=1
--   createtables=1
--   unicode=1
--   autocommit=1
--   transferdefaultvalues=1
--   transferindexes=1
--   transferautonumbers=1
--   transferrecords=1
--   columnlist=0
--   tableprefix=
--   negativeboolean=0
--   ignorelargeblobs=0
--   memotype=NVARCHAR(MAX)
--   datetimetype=DATETIME
--   transferrelationships=1
--   transfervalidationrules=1
--   transferdescriptions=1
--   verifycounts=1
--   transferqueries=1
--

SET QUOTED_IDENTIFIER ON
SET ANSI_NULLS ON
GO

USE [master]
IF EXISTS (SELECT * FROM master.dbo.sysdatabases WHERE name = N'Converted') ALTER DATABASE [Converted] SET SINGLE_USER With ROLLBACK IMMEDIATE
IF EXISTS (SELECT * FROM master.dbo.sysdatabases WHERE name = N'Converted') DROP DATABASE [Converted]
IF NOT EXISTS (SELECT * FROM master.dbo.sysdatabases WHERE name = N'Converted') CREATE DATABASE [Converted]
GO

USE [Converted]

DECLARE @drop nvarchar(max) = N''; SELECT @drop += N'ALTER TABLE ' + QUOTENAME(OBJECT_SCHEMA_NAME(parent_object_id)) + N'.' + QUOTENAME(OBJECT_NAME(parent_object_id)) + N' DROP CONSTRAINT ' + QUOTENAME(name) + N'; ' FROM sys.foreign_keys WHERE referenced_object_id = OBJECT_ID(N'[Table1]'); EXEC sys.sp_executesql @drop;
GO

--
-- Table structure for table 'Table1'
--

IF object_id(N'Table1', 'U') IS NOT NULL DROP TABLE [Table1]

CREATE TABLE [Table1] (
  [A] NVARCHAR(50) NOT NULL, 
  [B] NVARCHAR(100), 
  [C] SMALLINT DEFAULT 0, 
  [D] INT DEFAULT 0, 
  [E] INT DEFAULT 0, 
  [F] FLOAT DEFAULT 0, 
  [G] DATETIME, 
  [H] MONEY DEFAULT 0, 
  [I] BIT, 
  PRIMARY KEY ([A])
)

--
-- Dumping data for table 'Table1'
--

INSERT INTO [Table1] VALUES (N'a', N'b', 0, 0, 0, 0, '1981-12-12T00:00:00', 0, 0)
INSERT INTO [Table1] VALUES (N'abcdefg', N'hijklmnop', 2, 222, 333333333, 444.555, '1974-09-21T00:00:00', 3.5, 1)
-- 2 records

CREATE INDEX [B] ON [Table1] ([B])
GO

DECLARE @drop nvarchar(max) = N''; SELECT @drop += N'ALTER TABLE ' + QUOTENAME(OBJECT_SCHEMA_NAME(parent_object_id)) + N'.' + QUOTENAME(OBJECT_NAME(parent_object_id)) + N' DROP CONSTRAINT ' + QUOTENAME(name) + N'; ' FROM sys.foreign_keys WHERE referenced_object_id = OBJECT_ID(N'[Table2]'); EXEC sys.sp_executesql @drop;
GO

--
-- Table structure for table 'Table2'
--

IF object_id(N'Table2', 'U') IS NOT NULL DROP TABLE [Table2]

CREATE TABLE [Table2] (
  [column1] NVARCHAR(50) NOT NULL, 
  [column2] NVARCHAR(50), 
  [column3] NVARCHAR(50), 
  [column4] NVARCHAR(50), 
  [column5] NVARCHAR(50), 
  [column6] NVARCHAR(50), 
  [column7] NVARCHAR(50), 
  [column8] NVARCHAR(50), 
  [column9] NVARCHAR(50), 
  [column10] NVARCHAR(50), 
  [column11] NVARCHAR(50), 
  [column12] NVARCHAR(50), 
  [column13] NVARCHAR(50), 
  [column14] NVARCHAR(50), 
  [column15] NVARCHAR(50), 
  [column16] NVARCHAR(50), 
  [column17] NVARCHAR(50), 
  [column18] NVARCHAR(50), 
  [column19] NVARCHAR(50), 
  [column20] NVARCHAR(50), 
  [column21] NVARCHAR(50), 
  [column22] NVARCHAR(50), 
  [column23] NVARCHAR(50), 
  [column24] NVARCHAR(50), 
  [column25] NVARCHAR(50), 
  [column26] NVARCHAR(50), 
  [column27] NVARCHAR(50), 
  [column28] NVARCHAR(50), 
  [column29] NVARCHAR(50), 
  [column30] NVARCHAR(50), 
  [column31] NVARCHAR(50), 
  [column32] NVARCHAR(50), 
  [column33] NVARCHAR(50), 
  [column34] NVARCHAR(50), 
  [column35] NVARCHAR(50), 
  [column36] NVARCHAR(50), 
  [column37] NVARCHAR(50), 
  [column38] NVARCHAR(50), 
  [column39] NVARCHAR(50), 
  [column40] NVARCHAR(50), 
  [column41] NVARCHAR(50), 
  [column42] NVARCHAR(50), 
  [column43] NVARCHAR(50), 
  [column44] NVARCHAR(50), 
  [column45] NVARCHAR(50), 
  [column46] NVARCHAR(50), 
  [column47] NVARCHAR(50), 
  [column48] NVARCHAR(50), 
  [column49] NVARCHAR(50), 
  [column50] NVARCHAR(50), 
  [column51] NVARCHAR(50), 
  [column52] NVARCHAR(50), 
  [column53] NVARCHAR(50), 
  [column54] NVARCHAR(50), 
  [column55] NVARCHAR(50), 
  [column56] NVARCHAR(50), 
  [column57] NVARCHAR(50), 
  [column58] NVARCHAR(50), 
  [column59] NVARCHAR(50), 
  [column60] NVARCHAR(50), 
  [column61] NVARCHAR(50), 
  [column62] NVARCHAR(50), 
  [column63] NVARCHAR(50), 
  [column64] NVARCHAR(50), 
  [column65] NVARCHAR(50), 
  [column66] NVARCHAR(50), 
  [column67] NVARCHAR(50), 
  [column68] NVARCHAR(50), 
  [column69] NVARCHAR(50), 
  [column70] NVARCHAR(50), 
  [column71] NVARCHAR(50), 
  [column72] NVARCHAR(50), 
  [column73] NVARCHAR(50), 
  [column74] NVARCHAR(50), 
  [column75] NVARCHAR(50), 
  [column76] NVARCHAR(50), 
  [column77] NVARCHAR(50), 
  [column78] NVARCHAR(50), 
  [column79] NVARCHAR(50), 
  [column80] NVARCHAR(50), 
  [column81] NVARCHAR(50), 
  [column82] NVARCHAR(50), 
  [column83] NVARCHAR(50), 
  [column84] NVARCHAR(50), 
  [column85] NVARCHAR(50), 
  [column86] NVARCHAR(50), 
  [column87] NVARCHAR(50), 
  [column88] NVARCHAR(50), 
  [column89] NVARCHAR(50), 
  PRIMARY KEY ([column1])
)

--
-- Dumping data for table 'Table2'
--

-- 0 records

CREATE INDEX [column10] ON [Table2] ([column10])
GO

CREATE INDEX [column14] ON [Table2] ([column14])
GO

CREATE INDEX [column75] ON [Table2] ([column75])
GO

CREATE INDEX [id] ON [Table2] ([column1])
GO

DECLARE @drop nvarchar(max) = N''; SELECT @drop += N'ALTER TABLE ' + QUOTENAME(OBJECT_SCHEMA_NAME(parent_object_id)) + N'.' + QUOTENAME(OBJECT_NAME(parent_object_id)) + N' DROP CONSTRAINT ' + QUOTENAME(name) + N'; ' FROM sys.foreign_keys WHERE referenced_object_id = OBJECT_ID(N'[Table3]'); EXEC sys.sp_executesql @drop;
GO

--
-- Table structure for table 'Table3'
--

IF object_id(N'Table3', 'U') IS NOT NULL DROP TABLE [Table3]

CREATE TABLE [Table3] (
  [a] INT NOT NULL IDENTITY, 
  [b] NVARCHAR(50), 
  PRIMARY KEY ([a])
)

SET IDENTITY_INSERT [Table3] ON
GO

--
-- Dumping data for table 'Table3'
--

-- 0 records

SET IDENTITY_INSERT [Table3] OFF
GO

CREATE INDEX [id] ON [Table3] ([a])
GO

DECLARE @drop nvarchar(max) = N''; SELECT @drop += N'ALTER TABLE ' + QUOTENAME(OBJECT_SCHEMA_NAME(parent_object_id)) + N'.' + QUOTENAME(OBJECT_NAME(parent_object_id)) + N' DROP CONSTRAINT ' + QUOTENAME(name) + N'; ' FROM sys.foreign_keys WHERE referenced_object_id = OBJECT_ID(N'[Table4]'); EXEC sys.sp_executesql @drop;
GO

--
-- Table structure for table 'Table4'
--

IF object_id(N'Table4', 'U') IS NOT NULL DROP TABLE [Table4]

CREATE TABLE [Table4] (
  [name] NVARCHAR(50), 
  [data] VARCHAR(38) NOT NULL, 
  PRIMARY KEY ([data])
)

--
-- Dumping data for table 'Table4'
--

-- 0 records

--
-- Record counts, relationships, validation rules and descriptions
--

DECLARE @rows bigint = (SELECT COUNT_BIG(*) FROM [Table1]); IF @rows <> 2 BEGIN DECLARE @message nvarchar(2048) = CONCAT(N'Table Table1 holds ', @rows, N' rows, but 2 were written'); THROW 50000, @message, 1; END
GO

DECLARE @rows bigint = (SELECT COUNT_BIG(*) FROM [Table2]); IF @rows <> 0 BEGIN DECLARE @message nvarchar(2048) = CONCAT(N'Table Table2 holds ', @rows, N' rows, but 0 were written'); THROW 50000, @message, 1; END
GO

DECLARE @rows bigint = (SELECT COUNT_BIG(*) FROM [Table3]); IF @rows <> 0 BEGIN DECLARE @message nvarchar(2048) = CONCAT(N'Table Table3 holds ', @rows, N' rows, but 0 were written'); THROW 50000, @message, 1; END
GO

DECLARE @rows bigint = (SELECT COUNT_BIG(*) FROM [Table4]); IF @rows <> 0 BEGIN DECLARE @message nvarchar(2048) = CONCAT(N'Table Table4 holds ', @rows, N' rows, but 0 were written'); THROW 50000, @message, 1; END
GO

